#pragma once
// What the extractor needs from a title set's IFO file: the picture size, the subpicture streams'
// languages, and each program chain's cells (where they lie in the title's VOBs and how long they
// play) and subpicture palette.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace subtitles {

struct IfoCell {
    uint8_t blockMode = 0;  // 0 not in a block, 1 first, 2 inside, 3 last cell of a block
    uint8_t blockType = 0;  // 1: the block holds one cell per angle
    uint32_t playbackMs = 0;
    // Sectors of 2048 bytes, counted from the start of the title's first VOB (VTS_xx_1.VOB) over
    // the whole sequence of VOB files; both ends belong to the cell.
    uint32_t firstSector = 0;
    uint32_t lastSector = 0;
    // The cell's identity as its navigation packs carry it, which is how the cells of different
    // angles, interleaved in the same sectors, are told apart.
    uint16_t vobId = 0;
    uint8_t cellId = 0;
};

struct IfoChain {
    std::vector<IfoCell> cells;                    // in playback order
    std::array<uint32_t, 16> palette{};            // entries as stored: 0, Y, Cr, Cb
    std::array<uint32_t, 32> subpictureControl{};  // per stream: bit 31 present, bits 28-24,
                                                   // 20-16, 12-8, 4-0 the stream numbers used
                                                   // for 4:3, wide, letterbox, pan-scan
};

struct IfoTitle {
    int width = 720;
    int height = 576;
    std::vector<std::string> subpictureLanguages;  // two-letter codes as stored ("" when none)
    std::vector<IfoChain> chains;                  // program chain n is chains[n - 1]
};

// Reads the IFO file; raises an error naming the file and what was wrong or missing.
IfoTitle ReadIfoTitle(const std::string& path);
IfoTitle ParseIfoTitle(const std::string& bytes, const std::string& name);

// A cell of the chain as it is played for one angle, with its start on the title's timeline.
struct TitleCell {
    IfoCell cell;
    int64_t startMs = 0;
};

// The cells played for `angle` (0 and 1 both mean the first angle): one cell of each angle block,
// all others as they are. Raises an error naming `name` when a block has no cell for that angle.
std::vector<TitleCell> CellsToPlay(const IfoChain& chain, int angle, const std::string& name);

// The 16 palette entries as 0xRRGGBB, from the IFO's video-range YCbCr.
std::array<uint32_t, 16> PaletteRgb(const std::array<uint32_t, 16>& ycrcb);

}  // namespace subtitles
