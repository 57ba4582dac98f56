#include "AviWriter.h"

#include <algorithm>
#include <cmath>

#include "media/MediaError.h"

namespace jobrunner {

namespace {

constexpr uint32_t kHasIndex = 0x10, kIsInterleaved = 0x100, kTrustChunkType = 0x800;
constexpr uint32_t kKeyFrame = 0x10;
constexpr uint32_t kNotKeyFrameBit = 0x80000000u;
constexpr size_t kSuperIndexHeader = 24, kSuperIndexEntry = 16;
constexpr size_t kOdmlHeaderBytes = 248;

}  // namespace

AviWriter::AviWriter(media::OutputFile& file, AviLayout layout)
    : file_(file), layout_(std::move(layout)), state_(layout_.streams.size()) {
    const std::vector<uint8_t> header = Header();
    headerSize_ = header.size();
    file_.Write(header.data(), header.size());
    riffs_ = 1;
    riffPos_ = 0;
    moviPos_ = headerSize_ - 12;
}

void AviWriter::HeaderMain(ByteWriter& w) const {
    const AviStream& video = layout_.streams[0];
    const double seconds = double(state_[0].ticks) * video.scale / video.rate;
    uint32_t largest = 0;
    for (const StreamState& s : state_) largest = std::max(largest, s.maxChunk);
    const size_t at = BeginChunk(w, "avih");
    w.U32(uint32_t(std::lround(1e6 * video.scale / video.rate)));
    w.U32(seconds > 0 ? uint32_t(std::min(double(file_.Size()) / seconds, 4e9)) : 0);
    w.U32(0);  // padding granularity
    w.U32(kHasIndex | kIsInterleaved | (IsOpenDml() ? kTrustChunkType : 0));
    // An OpenDML file counts the first RIFF's frames here and all of them in "dmlh".
    w.U32(uint32_t(IsOpenDml() ? state_[0].firstRiffChunks : state_[0].ticks));
    w.U32(0);  // initial frames
    w.U32(uint32_t(layout_.streams.size()));
    w.U32(largest);
    w.U32(uint32_t(video.width));
    w.U32(uint32_t(video.height));
    w.Zeros(16);
    EndChunk(w, at);
}

void AviWriter::HeaderStream(ByteWriter& w, size_t s) const {
    const AviStream& stream = layout_.streams[s];
    const StreamState& state = state_[s];
    const size_t list = BeginList(w, "LIST", "strl");
    const size_t strh = BeginChunk(w, "strh");
    w.Code(stream.type);
    w.U32(stream.handler);
    w.Zeros(12);  // flags, priority, language, initial frames
    w.U32(stream.scale);
    w.U32(stream.rate);
    w.U32(0);  // start
    w.U32(uint32_t(state.ticks));
    w.U32(state.maxChunk);
    w.U32(0xFFFFFFFFu);  // quality: the default
    w.U32(stream.sampleSize);
    w.Zeros(4);
    w.U16(uint16_t(stream.width));
    w.U16(uint16_t(stream.height));
    EndChunk(w, strh);
    const size_t strf = BeginChunk(w, "strf");
    w.Raw(stream.format.data(), stream.format.size());
    EndChunk(w, strf);
    // The super index, or the room it takes once the file grows past its first RIFF.
    const size_t indx = BeginChunk(w, IsOpenDml() ? "indx" : "JUNK");
    const size_t room = kSuperIndexHeader + kSuperIndexEntry * layout_.superIndexRoom;
    if (IsOpenDml()) {
        w.U16(4);  // 32-bit words an entry
        w.U8(0);
        w.U8(0);  // an index of indexes
        w.U32(uint32_t(state.super.size()));
        w.Code(stream.chunkId);
        w.Zeros(12);
        for (const SuperEntry& e : state.super) {
            w.U64(e.pos);
            w.U32(e.size);
            w.U32(e.duration);
        }
    }
    w.Zeros(room - (w.Size() - indx));
    EndChunk(w, indx);
    EndChunk(w, list);
}

std::vector<uint8_t> AviWriter::Header() const {
    ByteWriter w;
    w.Code("RIFF");
    w.U32(firstRiffSize_);
    w.Code("AVI ");
    const size_t hdrl = BeginList(w, "LIST", "hdrl");
    HeaderMain(w);
    for (size_t s = 0; s < layout_.streams.size(); ++s) HeaderStream(w, s);
    const size_t odml = BeginList(w, "LIST", "odml");
    const size_t dmlh = BeginChunk(w, "dmlh");
    w.U32(uint32_t(state_[0].ticks));
    w.Zeros(kOdmlHeaderBytes - 4);
    EndChunk(w, dmlh);
    EndChunk(w, odml);
    EndChunk(w, hdrl);
    const bool anyText = std::any_of(layout_.comments.begin(), layout_.comments.end(),
                                     [](const Comment& c) { return !c.text.empty(); });
    if (anyText) {
        const size_t info = BeginList(w, "LIST", "INFO");
        for (const Comment& c : layout_.comments) {
            if (c.text.empty()) continue;
            const size_t at = BeginChunk(w, c.tag.c_str());
            w.Raw(c.text.data(), c.text.size());
            w.U8(0);
            EndChunk(w, at);
        }
        EndChunk(w, info);
    }
    w.Code("LIST");
    w.U32(firstMoviSize_);
    w.Code("movi");
    return w.Bytes();
}

void AviWriter::Write(size_t stream, const uint8_t* data, size_t size, bool key, uint64_t ticks) {
    if (size > 0x7FFFFFF0u)
        throw media::MediaError(file_.Path() + ": a chunk of " + std::to_string(size) +
                                " bytes is too large for an AVI");
    const uint64_t chunkBytes = 8 + size + (size & 1);
    const bool anyInRiff = std::any_of(state_.begin(), state_.end(),
                                       [](const StreamState& s) { return !s.riffEntries.empty(); });
    if (anyInRiff && uint64_t(file_.Size()) + chunkBytes - moviPos_ > layout_.riffLimit) {
        CloseRiff(true);
        OpenRiff("AVIX");
    }
    ByteWriter head;
    head.Code(layout_.streams[stream].chunkId);
    head.U32(uint32_t(size));
    const Entry entry{uint64_t(file_.Size()), uint32_t(size), key};
    file_.Write(head.Bytes().data(), head.Size());
    if (size > 0) file_.Write(data, size);
    if (size & 1) file_.Write("", 1);
    StreamState& s = state_[stream];
    s.riffEntries.push_back(entry);
    s.riffTicks += ticks;
    s.ticks += ticks;
    s.maxChunk = std::max(s.maxChunk, uint32_t(size));
    if (riffs_ == 1) {
        idx1_.push_back({uint32_t(stream), entry});
        ++s.firstRiffChunks;
    }
}

void AviWriter::SetFormat(size_t stream, std::vector<uint8_t> format) {
    layout_.streams[stream].format = std::move(format);
}

void AviWriter::OpenRiff(const char* type) {
    riffPos_ = uint64_t(file_.Size());
    ByteWriter w;
    w.Code("RIFF");
    w.U32(0);
    w.Code(type);
    w.Code("LIST");
    w.U32(0);
    w.Code("movi");
    file_.Write(w.Bytes().data(), w.Size());
    moviPos_ = riffPos_ + 12;
    ++riffs_;
}

void AviWriter::WriteStandardIndex(size_t s) {
    StreamState& state = state_[s];
    if (state.super.size() >= layout_.superIndexRoom)
        throw media::MediaError(file_.Path() + ": the AVI grows past the " +
                                std::to_string(layout_.superIndexRoom) +
                                " parts its header has room to index");
    const uint64_t base = moviPos_ + 8;
    const char code[5] = {'i', 'x', char('0' + s / 10), char('0' + s % 10), 0};
    ByteWriter w;
    const size_t at = BeginChunk(w, code);
    w.U16(2);
    w.U8(0);
    w.U8(1);  // an index of chunks
    w.U32(uint32_t(state.riffEntries.size()));
    w.Code(layout_.streams[s].chunkId);
    w.U64(base);
    w.U32(0);
    for (const Entry& e : state.riffEntries) {
        w.U32(uint32_t(e.pos + 8 - base));
        w.U32(e.size | (e.key ? 0 : kNotKeyFrameBit));
    }
    EndChunk(w, at);
    state.super.push_back({uint64_t(file_.Size()), uint32_t(w.Size()), uint32_t(state.riffTicks)});
    file_.Write(w.Bytes().data(), w.Size());
}

void AviWriter::WriteIdx1() {
    ByteWriter w;
    const size_t at = BeginChunk(w, "idx1");
    const uint64_t moviType = moviPos_ + 8;
    for (const Idx1Entry& e : idx1_) {
        w.Code(layout_.streams[e.stream].chunkId);
        w.U32(e.entry.key ? kKeyFrame : 0);
        w.U32(uint32_t(e.entry.pos - moviType));
        w.U32(e.entry.size);
    }
    EndChunk(w, at);
    file_.Write(w.Bytes().data(), w.Size());
    idx1_.clear();
    idx1_.shrink_to_fit();
}

void AviWriter::CloseRiff(bool withStandardIndexes) {
    if (withStandardIndexes)
        for (size_t s = 0; s < state_.size(); ++s)
            if (!state_[s].riffEntries.empty()) WriteStandardIndex(s);
    const auto moviSize = uint32_t(uint64_t(file_.Size()) - moviPos_ - 8);
    if (riffs_ == 1) {
        firstMoviSize_ = moviSize;
        WriteIdx1();
        firstRiffSize_ = uint32_t(file_.Size() - 8);
    } else {
        ByteWriter sizes;
        sizes.U32(uint32_t(uint64_t(file_.Size()) - riffPos_ - 8));
        file_.WriteAt(int64_t(riffPos_ + 4), sizes.Bytes().data(), 4);
        ByteWriter movi;
        movi.U32(moviSize);
        file_.WriteAt(int64_t(moviPos_ + 4), movi.Bytes().data(), 4);
    }
    for (StreamState& s : state_) {
        s.riffEntries.clear();
        s.riffTicks = 0;
    }
}

void AviWriter::Finish() {
    CloseRiff(IsOpenDml());
    const std::vector<uint8_t> header = Header();
    if (header.size() != headerSize_)
        throw media::MediaError(file_.Path() +
                                ": the final header does not fit the room kept for it");
    file_.WriteAt(0, header.data(), header.size());
}

}  // namespace jobrunner
