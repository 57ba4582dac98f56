#pragma once
// The bitmap file of a subtitle pair: an MPEG-2 program stream of 2048-byte packs, each holding
// one PES packet of private stream 1 with the sub-stream number (0x20 + stream) before a piece of
// a subpicture unit. A unit's first packet carries its time stamp; the index points at the pack
// where a unit starts.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace subtitles {

inline constexpr size_t kPackSize = 2048;

// Appends the packs of one unit to `out`, with the time stamp `pts` (90 kHz) on the first.
void AppendUnitPacks(std::string& out, uint8_t stream, int64_t pts,
                     const std::vector<uint8_t>& unit);

struct ReadUnit {
    int64_t pts = -1;
    std::vector<uint8_t> bytes;
};

// Reads the unit of `stream` that starts in the pack at `pos`, skipping packs of other streams
// and padding between its pieces. nullopt, with `problem` set, when no whole and plausible unit
// starts there within the scan limit or the data ends first.
std::optional<ReadUnit> ReadUnitAt(const std::string& sub, uint64_t pos, uint8_t stream,
                                   std::string& problem);

}  // namespace subtitles
