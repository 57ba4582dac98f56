#pragma once
// The chunk index as the split search uses it, and the super index entries of an OpenDML file.
#include <cstdint>
#include <vector>

// Kind of an index entry.
inline constexpr uint32_t kChunkOther = 0;     // a chunk of another stream (audio)
inline constexpr uint32_t kChunkDelta = 1;     // a video frame that is not a key frame
inline constexpr uint32_t kChunkKeyFrame = 2;  // a video key frame

struct TMyIndexEntry {
    uint32_t Kind = kChunkOther;
    uint32_t Size = 0;   // bytes of chunk data
    int64_t Offset = 0;  // file offset of the chunk data; 0 when read from "idx1"

    bool IsVideo() const { return Kind == kChunkDelta || Kind == kChunkKeyFrame; }
    bool operator==(const TMyIndexEntry&) const = default;
};
static_assert(sizeof(TMyIndexEntry) == 16);

// The chunks in file order.
using TMyIndex = std::vector<TMyIndexEntry>;

struct TAviSuperIndexEntry {
    uint64_t IndexOffset = 0;  // file offset of a standard index chunk
    uint32_t IndexSize = 0;
    uint32_t IndexDuration = 0;

    bool operator==(const TAviSuperIndexEntry&) const = default;
};
static_assert(sizeof(TAviSuperIndexEntry) == 16);

using TAviSuperIndexEntryArray = std::vector<TAviSuperIndexEntry>;
