#pragma once
// Finds the video headers in the payloads of one video stream's packets, in stream order. A
// start code, or the header after it, may be split over several packets; each header found is
// placed at the packet where its start code's first byte lies, which is where a decoder has to
// begin to see it. A picture gets the time stamp of the packet its start code begins in, when that
// packet has one and no earlier picture took it.
#include <array>
#include <cstdint>
#include <vector>

#include "media/PackReader.h"
#include "media/VideoHeaders.h"

namespace media {

struct HeaderPlace {
    int64_t packOffset = -1;   // stream offset of the pack holding the start code's first byte
    int64_t packetOffset = 0;  // stream offset of that PES packet
    uint32_t skip = 0;         // payload bytes of that packet before the start code
    bool afterDamage = false;  // bytes were skipped just before that packet
};

struct VideoHeader {
    // Damage: the packet fed next came after skipped bytes (given as its own header so that the
    // index can mark what it may have hit).
    enum class Kind {
        Sequence,
        SequenceExtension,
        Gop,
        Picture,
        PictureCodingExtension,
        End,
        Damage
    };
    Kind kind = Kind::Sequence;
    HeaderPlace place;
    int64_t pts = kNoTimestamp;  // pictures only
    SequenceHeader sequence;
    SequenceExtension sequenceExtension;
    GopHeader gop;
    PictureHeader picture;
    PictureCodingExtension coding;
};

class VideoScanner {
  public:
    // Scans the payload of the stream's next packet and appends the headers completed in it.
    void Feed(const PesPacket& packet, std::vector<VideoHeader>& out);

  private:
    struct Origin {
        HeaderPlace place;
        int64_t pts = kNoTimestamp;
        uint64_t packet = 0;  // which packet, for the time stamp's single use
    };
    void StartCode(const Origin& at, const uint8_t* p, size_t n, std::vector<VideoHeader>& out);
    void Parse(const Origin& at, const uint8_t* p, size_t n, std::vector<VideoHeader>& out);
    Origin At(const PesPacket& packet, size_t index) const;
    void KeepTrailingZeros(const PesPacket& packet);

    uint64_t packets_ = 0;
    uint64_t ptsTaken_ = 0;  // the packet whose time stamp a picture took last (1-based)
    // Start code prefix bytes at the end of the payloads before: the zeros and where they are.
    int zeros_ = 0;
    std::array<Origin, 2> zeroAt_{};
    bool codeNext_ = false;  // the payload before ended in 00 00 01
    Origin codeAt_;
    // A header whose bytes run on into the next payload.
    std::array<uint8_t, 8> pending_{};
    size_t pendingHave_ = 0, pendingNeed_ = 0;
    Origin pendingAt_;
};

}  // namespace media
