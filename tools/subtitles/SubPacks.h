#pragma once
// The bitmap file of a subtitle pair: an MPEG-2 program stream of 2048-byte packs, each holding
// one PES packet of private stream 1 with the sub-stream number (0x20 + stream) before a piece of
// a subpicture unit. A unit's first packet carries its time stamp; the index points at the pack
// where a unit starts. Written here; read with the shared pack reader of the VOBs.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "media/ByteSource.h"
#include "media/PackReader.h"

namespace subtitles {

inline constexpr size_t kPackSize = 2048;

// Appends the packs of one unit to `out`, with the time stamp `pts` (90 kHz) on the first.
void AppendUnitPacks(std::string& out, uint8_t stream, int64_t pts,
                     const std::vector<uint8_t>& unit);

struct ReadUnit {
    int64_t pts = -1;
    std::vector<uint8_t> bytes;
};

// A bitmap file held in memory, its units read back through the shared pack reader.
class SubBitmaps {
  public:
    // `name` names the file in what ReadUnitAt reports.
    SubBitmaps(std::vector<uint8_t> bytes, const std::string& name);
    SubBitmaps(const SubBitmaps&) = delete;
    SubBitmaps& operator=(const SubBitmaps&) = delete;

    // The unit of `stream` that starts in the pack at `pos`, skipping packs of other streams and
    // padding between its pieces. nullopt, with `problem` set, when no pack starts at `pos`, the
    // packs after it are damaged, or no whole and plausible unit follows within the scan limit.
    std::optional<ReadUnit> ReadUnitAt(uint64_t pos, uint8_t stream, std::string& problem);

  private:
    media::MemorySource source_;
    std::string warning_;  // the pack reader's last, for the problem it explains
    media::PackReader reader_;
};

}  // namespace subtitles
