// Reads arbitrary bytes as a title set's IFO file for the subtitle extractor and lays out every
// chain's cells for the first angles: damage ends in one error naming the file, never a crash;
// the cells of a chain follow one another on the timeline.
// clang-format off
// fuzz-sources: tools/subtitles/IfoTitle.cpp tools/subtitles/TitleCells.cpp
// clang-format on
#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "../../tools/subtitles/IfoTitle.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    try {
        const subtitles::IfoTitle title = subtitles::ParseIfoTitle(bytes, "fuzz.IFO");
        if (title.subpictureLanguages.size() > 32) std::abort();
        for (const subtitles::IfoChain& chain : title.chains) {
            for (int angle = 0; angle <= 3; ++angle) {
                const auto cells = subtitles::CellsToPlay(chain, angle, "fuzz.IFO");
                int64_t at = 0;
                for (const subtitles::TitleCell& cell : cells) {
                    if (cell.startMs != at || cell.cell.lastSector < cell.cell.firstSector)
                        std::abort();
                    at += cell.cell.playbackMs;
                }
            }
            subtitles::PaletteRgb(chain.palette);
        }
    } catch (const std::runtime_error&) {
    }
    return 0;
}
