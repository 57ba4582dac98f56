// Reads arbitrary bytes as a title's VOB sectors, cell by cell as the subtitle extractor does:
// the first bytes choose the cells (their sectors, whether they lie in an angle block, their
// ids), the rest are the sectors. Damage ends in warnings, never a crash, a hang or a read past
// a buffer, and the packets joined into subpictures give whole, plausible units only.
// clang-format off
// fuzz-sources: tools/subtitles/TitleVobs.cpp tools/subtitles/Console.cpp tools/subtitles/SpuAssembler.cpp tools/media/PackReader.cpp tools/media/ByteSource.cpp tools/media/VobSequence.cpp tools/media/StreamKind.cpp tools/media/NavPacket.cpp src/platform/files_find.cpp
// clang-format on
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "../../tools/subtitles/SpuAssembler.h"
#include "../../tools/subtitles/SubpictureSource.h"
#include "media/ByteSource.h"

namespace {

constexpr size_t kCells = 3;
constexpr size_t kCellBytes = 4;  // first sector, length in sectors, block mode, cell id

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < kCells * kCellBytes) return 0;
    std::vector<subtitles::IfoCell> cells(kCells);
    for (size_t i = 0; i < kCells; ++i) {
        const uint8_t* c = data + i * kCellBytes;
        cells[i].firstSector = c[0];
        cells[i].lastSector = uint32_t(c[0]) + c[1];
        cells[i].blockMode = c[2] & 3;
        cells[i].blockType = (c[2] >> 2) & 1;
        cells[i].vobId = 1;
        cells[i].cellId = c[3];
    }
    const size_t header = kCells * kCellBytes;
    auto source =
        subtitles::ReadCellsFrom(std::make_unique<media::MemorySource>(
                                     std::vector<uint8_t>(data + header, data + size), "fuzz.vob"),
                                 [](const std::string&) {});
    subtitles::SpuAssembler assembler;
    std::vector<std::string> warnings;
    for (const subtitles::IfoCell& cell : cells) {
        const subtitles::CellPackets packets = source->ReadCell(cell);
        for (const subtitles::SubpicturePacket& packet : packets.packets) {
            if (packet.stream > 31 || packet.payload.size() > size) std::abort();
            const auto unit = assembler.Add(packet, warnings);
            if (unit && !subtitles::PlausibleUnit(unit->bytes)) std::abort();
        }
        assembler.Flush(warnings);
    }
    return 0;
}
