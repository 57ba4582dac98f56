#include "AudioDemux.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "VideoTiming.h"
#include "platform/files.h"

namespace indexer {
namespace {

constexpr size_t kHeadBytes = 64 << 10;

const char* ExtensionOf(media::StreamKind kind) {
    switch (kind) {
        case media::StreamKind::Ac3:
            return "ac3";
        case media::StreamKind::Dts:
            return "dts";
        case media::StreamKind::Lpcm:
            return "wav";
        default:
            return "mpa";  // any layer: an ".mp3" would be overwritten by its own MP3
    }
}

// An MPEG audio frame header at p: sync, a layer, a bit rate and a sample rate that exist.
bool MpegAudioHeader(const uint8_t* p) {
    return p[0] == 0xFF && (p[1] & 0xE0) == 0xE0 && ((p[1] >> 1) & 3) != 0 && (p[2] >> 4) != 15 &&
           ((p[2] >> 2) & 3) != 3;
}

std::string TwoDigits(int n) {
    char text[8];
    std::snprintf(text, sizeof text, "%02d", n);
    return text;
}

}  // namespace

AudioDemux::AudioDemux(int track, std::string outputBase, media::WarningSink warn)
    : track_(track), base_(std::move(outputBase)), warn_(std::move(warn)) {}

AudioDemux::~AudioDemux() = default;

// The private stream 1 audio kinds start with the number of frames that begin in the packet and
// a pointer to the first of them (counted from the pointer's last byte); LPCM then has three
// header bytes of its own. MPEG audio has neither: its first frame is found by its header.
AudioDemux::Body AudioDemux::BodyOf(const media::PesPacket& packet) const {
    Body body;
    const uint8_t* d = packet.data;
    const size_t n = packet.size;
    if (*kind_ == media::StreamKind::MpegAudio) {
        body.data = d;
        body.size = n;
        body.firstUnit = n;
        for (size_t i = 0; i + 3 < n; ++i)
            if (MpegAudioHeader(d + i)) {
                body.firstUnit = i;
                break;
            }
        return body;
    }
    const size_t header = *kind_ == media::StreamKind::Lpcm ? 6 : 3;
    if (n < header) return body;
    const unsigned frames = d[0], pointer = d[1] << 8 | d[2];
    body.data = d + header;
    body.size = n - header;
    if (*kind_ == media::StreamKind::Lpcm) body.lpcmHeader = d + 3;
    const size_t skip = header - 2;  // bytes between the pointer's last byte and the body
    body.firstUnit = frames > 0 && pointer >= skip ? pointer - skip : body.size;
    if (body.firstUnit > body.size) body.firstUnit = body.size;
    return body;
}

void AudioDemux::Add(const media::PesPacket& packet) {
    const media::StreamKind kind = media::KindOf(packet);
    if (!media::IsAudio(kind) || media::StreamNumberOf(packet) != track_ - 1) return;
    if (!kind_) kind_ = kind;
    if (kind != *kind_) {
        if (!otherKindWarned_)
            warn_("Audio stream " + std::to_string(track_ - 1) +
                  " appears in two codings; only the first one found is demultiplexed.");
        otherKindWarned_ = true;
        return;
    }
    const Body body = BodyOf(packet);
    if (!body.data) return;
    size_t from = 0;
    if (!file_) {
        // Bytes before the first whole frame with a time stamp have no time of their own.
        if (packet.pts == media::kNoTimestamp || body.firstUnit >= body.size) return;
        Start(packet);
        from = body.firstUnit;
    }
    if (*kind_ == media::StreamKind::Lpcm) {
        WriteLpcm(body, from);
        return;
    }
    file_->Write(body.data + from, body.size - from);
    if (head_.size() < kHeadBytes)
        head_.insert(head_.end(), body.data + from,
                     body.data + std::min(body.size, from + kHeadBytes - head_.size()));
}

void AudioDemux::Start(const media::PesPacket& packet) {
    firstPts_ = packet.pts;
    file_ = std::make_unique<media::OutputFile>(base_ + ".T" + TwoDigits(track_) + ".partial");
    if (*kind_ == media::StreamKind::Lpcm) lpcm_ = std::make_unique<media::LpcmDecoder>();
}

void AudioDemux::WriteLpcm(const Body& body, size_t from) {
    // The decoder reads the format from the three header bytes before the samples.
    std::vector<uint8_t> unit(body.lpcmHeader, body.lpcmHeader + 3);
    unit.insert(unit.end(), body.data + from, body.data + body.size);
    pcm_.clear();
    if (!lpcm_->Decode(unit.data(), unit.size(), pcm_)) {
        if (!lpcmWarned_) warn_("Skipped LPCM packets that could not be decoded.");
        lpcmWarned_ = true;
        return;
    }
    if (pcm_.empty()) return;
    if (!wav_) wav_ = std::make_unique<media::WavWriter>(*file_, lpcm_->Format());
    wav_->Samples(pcm_.data(), pcm_.size());
}

std::string AudioDemux::FinalName(const std::string& description, int32_t delay) const {
    return base_ + " T" + TwoDigits(track_) + " " + description + " DELAY " +
           std::to_string(delay) + "ms." + ExtensionOf(*kind_);
}

// A file of the same track from an earlier run, with another delay or format in its name,
// would be found by the planner's search as well as the new one.
void AudioDemux::RemoveEarlierOutput() const {
    const std::filesystem::path base(base_);
    const std::string folder = base.has_parent_path() ? base.parent_path().string() : ".";
    const std::string pattern =
        base.filename().string() + " T" + TwoDigits(track_) + " * DELAY *ms.*";
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
         it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (platform::WildcardMatch(name, pattern, true)) ::unlink(it->path().c_str());
    }
}

std::string AudioDemux::Finish(std::optional<int64_t> videoStart) {
    if (!file_) return "";
    media::AudioFormat format;
    if (*kind_ == media::StreamKind::Lpcm) {
        if (!wav_) {  // a track that says nothing is no reason to lose the index
            warn_("No LPCM sample of audio track " + std::to_string(track_) +
                  " could be decoded; no audio file is written.");
            return "";
        }
        wav_->Finish();
        format = lpcm_->Description();
    } else {
        format = media::DescribeAudio(*kind_, head_.data(), head_.size());
    }
    const int32_t delay = videoStart ? DelayMilliseconds(firstPts_, *videoStart) : 0;
    const std::string name = FinalName(format.Text(), delay);
    RemoveEarlierOutput();
    file_->Commit(name);
    return name;
}

}  // namespace indexer
