#pragma once
// Where the extractor gets the subpicture packets of a title from: the one interface between
// the program-chain logic (which cells, which streams, which times) and the reading of the VOB
// files themselves.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "IfoTitle.h"
#include "media/MediaError.h"

namespace media {
class ByteSource;
}

namespace subtitles {

// One PES packet of a subpicture stream (private stream 1, sub-stream 0x20 + stream).
struct SubpicturePacket {
    uint8_t stream = 0;            // 0..31
    int64_t pts = -1;              // 90 kHz, from the PES header; -1 when it carries none
    std::vector<uint8_t> payload;  // the bytes after the sub-stream number
};

// What one cell of the title's VOBs holds for the extractor.
struct CellPackets {
    // Presentation time (90 kHz) at which the cell starts: that of the first navigation pack of
    // the cell (its VOBU start time). Packet times are counted from it.
    int64_t startPts = 0;
    // The subpicture packets of every stream, in file order. For cells of an angle block only
    // the cell's own interleaved units count (navigation packs carrying its VOB and cell id).
    std::vector<SubpicturePacket> packets;
};

class SubpictureSource {
  public:
    virtual ~SubpictureSource() = default;
    // The packets of one cell (sectors cell.firstSector..cell.lastSector of the VOB sequence).
    // Raises an error naming the VOB file and offset when the files cannot be read; damaged
    // packs inside the range are skipped with a warning.
    virtual CellPackets ReadCell(const IfoCell& cell) = 0;
};

// The VOB files of the title set whose IFO is `ifoPath`: its name with the final "0.ifo"
// replaced by "1.VOB", "2.VOB" and so on (any letter case), read as one sequence of sectors.
// Raises an error naming the IFO when its name is not that of a title set or its first VOB is
// missing; warnings go to standard error.
std::unique_ptr<SubpictureSource> OpenTitleVobs(const std::string& ifoPath);

// The same reading on any stream of sectors (memory in tests); what is skipped goes to `warn`.
std::unique_ptr<SubpictureSource> ReadCellsFrom(std::unique_ptr<media::ByteSource> vobs,
                                                media::WarningSink warn);

}  // namespace subtitles
