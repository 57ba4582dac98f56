#pragma once
// The index of a title's video: its format, and per entry (a GOP, where decoding can begin) the
// place of the pack that starts it and its coded pictures in coded order. A picture is a frame,
// or a pair of fields coded as two pictures.
#include <cstdint>
#include <string>
#include <vector>

#include "media/VideoHeaders.h"
#include "media/VobSequence.h"

namespace media {

struct IndexPicture {
    // flags: bits 0-1 the type (1 I, 2 P, 3 B), then the bits below.
    static constexpr uint8_t kTypeMask = 0x03;
    static constexpr uint8_t kTopFieldFirst = 0x04;
    static constexpr uint8_t kRepeatFirstField = 0x08;
    static constexpr uint8_t kProgressiveFrame = 0x10;
    static constexpr uint8_t kFieldPair = 0x20;    // coded as two field pictures
    static constexpr uint8_t kSingleField = 0x40;  // a field picture whose partner is missing
    uint8_t flags = 0;

    int Type() const { return flags & kTypeMask; }
    bool IsB() const { return Type() == static_cast<int>(PictureType::B); }
    bool TopFieldFirst() const { return flags & kTopFieldFirst; }
    bool RepeatFirstField() const { return flags & kRepeatFirstField; }
    bool ProgressiveFrame() const { return flags & kProgressiveFrame; }
};

struct IndexEntry {
    static constexpr uint8_t kClosedGop = 0x01;
    static constexpr uint8_t kBrokenLink = 0x02;
    static constexpr uint8_t kSequenceHeader = 0x04;  // the entry starts with a sequence header
    static constexpr uint8_t kAfterDamage = 0x08;     // bytes were skipped before it
    uint8_t flags = 0;
    StreamPosition position;  // the pack holding the first byte of the entry's first start code
    uint32_t skip = 0;        // video payload bytes of that pack's packet before that start code
    int64_t pts = -1;         // 90 kHz time stamp of the first picture, -1 when it had none
    std::vector<IndexPicture> pictures;
};

struct VideoFormat {
    int streamId = 0xE0;
    int width = 0, height = 0;
    int aspectCode = 0;
    int frameRateCode = 0;
    bool mpeg2 = false;
    bool progressiveSequence = false;
    int chromaFormat = 1;
};

struct VideoIndex {
    VideoFormat format;
    std::vector<IndexEntry> entries;
    int64_t PictureCount() const;
};

// Coded picture number -> where it is shown: the coded order of all pictures put into display
// order (each I or P picture is shown after the B pictures that follow it in coded order).
// Returns, for each display position, the coded picture number.
std::vector<int64_t> DisplayOrder(const VideoIndex& index);

// "16:9" and the like; "1:1" for square pixels.
std::string AspectText(int aspectCode);

}  // namespace media
