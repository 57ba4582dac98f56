#include "VideoFeed.h"

#include <algorithm>

#include "media/MediaError.h"
#include "media/VideoHeaders.h"

namespace decoder {
namespace {

namespace code = media::start_code;

// Packets read at most to find the first picture of an entry (its headers come before it).
constexpr int kMaxPacketsForHeaders = 4096;

// The sequence header of a picture piece and the extensions after it, up to the GOP header or
// the picture; empty when the piece has none.
std::vector<uint8_t> SequenceHeaderOf(const std::vector<uint8_t>& piece) {
    size_t begin = piece.size();
    for (size_t i = 0; i + 3 < piece.size(); ++i) {
        if (piece[i] != 0 || piece[i + 1] != 0 || piece[i + 2] != 1) continue;
        const uint8_t c = piece[i + 3];
        if (c == code::kSequence && begin == piece.size()) begin = i;
        if ((c == code::kGop || c == code::kPicture) && begin < i)
            return std::vector<uint8_t>(piece.begin() + begin, piece.begin() + i);
    }
    return {};
}

}  // namespace

VideoFeed::VideoFeed(const std::string& indexPath, const media::IndexFile& index,
                     const PictureTable& table, media::WarningSink warn)
    : index_(index),
      table_(table),
      stream_(media::VobSequence(index.files)),
      reader_(stream_, std::move(warn)) {
    const media::VobSequence& files = stream_.Sequence();
    int64_t last = -1;
    uint32_t lastSkip = 0;
    for (size_t e = 0; e < index.video.entries.size(); ++e) {
        const media::IndexEntry& entry = index.video.entries[e];
        const int64_t size = files.Files()[entry.position.file].size;
        present_.push_back(entry.position.offset < size);
        // An entry beyond the end of a short file sorts at that end.
        offsets_.push_back(files.StartOf(entry.position.file) +
                           std::min(entry.position.offset, size));
        const bool sameAsLast = offsets_.back() == last && present_.back();
        if (offsets_.back() < last || (sameAsLast && entry.skip <= lastSkip))
            throw media::MediaError("The index " + indexPath + " is damaged: entry " +
                                    std::to_string(e + 1) + " lies before the entry above it.");
        last = offsets_.back();
        lastSkip = entry.skip;
    }
}

int VideoFeed::StartAt(int entry) {
    while (entry > 0 && !present_[entry]) --entry;
    prefix_.clear();
    if (!(index_.video.entries[entry].flags & media::IndexEntry::kSequenceHeader))
        prefix_ = SequenceHeaderBefore(entry);
    splitter_.Reset();
    reader_.Seek(offsets_[entry]);
    next_ = static_cast<size_t>(entry);
    ended_ = false;
    return entry;
}

bool VideoFeed::Next(std::vector<PicturePiece>& out) {
    while (splitter_.Ready().empty()) {
        if (ended_) return false;
        if (!Pump(splitter_)) {
            splitter_.Finish();
            ended_ = true;
        }
    }
    out.clear();
    out.swap(splitter_.Ready());
    return true;
}

// One packet of the video stream into `splitter`, cut where the entries begin that start in it;
// false at the end of the data.
bool VideoFeed::Pump(PictureSplitter& splitter) {
    media::PesPacket packet;
    do {
        if (!reader_.Next(packet)) return false;
    } while (packet.streamId != index_.video.format.streamId);
    const int64_t at = packet.packOffset >= 0 ? packet.packOffset : packet.offset;
    const auto& entries = index_.video.entries;
    size_t pos = 0;
    for (; next_ < entries.size(); ++next_) {
        const int64_t start = offsets_[next_];
        const size_t skip = entries[next_].skip;
        if (start > at) break;
        // The entry's start code lies in a later packet of this pack.
        if (present_[next_] && start == at && skip >= packet.size) break;
        if (!present_[next_] || start < at || skip < pos) {
            splitter.LoseCount();  // passed over: where its pictures begin is not known
            continue;
        }
        splitter.Feed(packet.data + pos, skip - pos);
        pos = skip;
        splitter.BeginEntry(entries[next_], table_.FirstCoded(static_cast<int>(next_)), prefix_);
        prefix_.clear();
    }
    splitter.Feed(packet.data + pos, packet.size - pos);
    return true;
}

const std::vector<uint8_t>& VideoFeed::SequenceHeaderBefore(int entry) {
    const auto& entries = index_.video.entries;
    int holder = entry - 1;
    while (holder >= 0 &&
           !(present_[holder] && entries[holder].flags & media::IndexEntry::kSequenceHeader))
        --holder;
    std::vector<uint8_t>& header = sequenceHeaders_[holder];
    if (holder < 0 || !header.empty()) return header;
    PictureSplitter local;
    reader_.Seek(offsets_[holder]);
    next_ = static_cast<size_t>(holder);
    for (int i = 0; i < kMaxPacketsForHeaders && local.Ready().empty(); ++i)
        if (!Pump(local)) {
            local.Finish();
            break;
        }
    if (!local.Ready().empty()) header = SequenceHeaderOf(local.Ready().front().bytes);
    return header;
}

}  // namespace decoder
