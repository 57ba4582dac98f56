// The cells a program chain plays for one angle, placed on the title's timeline, and the chain's
// palette in the RGB the subtitle index carries.
#include <algorithm>
#include <stdexcept>

#include "IfoTitle.h"

namespace subtitles {

std::vector<TitleCell> CellsToPlay(const IfoChain& chain, int angle, const std::string& name) {
    const size_t wanted = size_t(std::max(angle, 1));
    std::vector<TitleCell> played;
    int64_t start = 0;
    for (size_t i = 0; i < chain.cells.size();) {
        size_t end = i + 1;
        if (chain.cells[i].blockType == 1 && chain.cells[i].blockMode == 1)
            while (end < chain.cells.size() && chain.cells[end].blockType == 1 &&
                   chain.cells[end].blockMode >= 2) {
                const bool last = chain.cells[end++].blockMode == 3;
                if (last) break;
            }
        const bool angles = end - i > 1;
        if (angles && wanted > end - i)
            throw std::runtime_error(name + ": the angle block at cell " + std::to_string(i + 1) +
                                     " has no angle " + std::to_string(wanted));
        const IfoCell& cell = chain.cells[angles ? i + wanted - 1 : i];
        played.push_back({cell, start});
        start += cell.playbackMs;
        i = end;
    }
    return played;
}

std::array<uint32_t, 16> PaletteRgb(const std::array<uint32_t, 16>& ycrcb) {
    std::array<uint32_t, 16> rgb{};
    const auto clamp = [](int v) { return uint32_t(std::clamp((v + 128) >> 8, 0, 255)); };
    for (size_t i = 0; i < ycrcb.size(); ++i) {
        // Video range (16-235) with the 601 matrix, in fixed point with 8 fraction bits.
        const int y = 298 * (int((ycrcb[i] >> 16) & 0xFF) - 16);
        const int cr = int((ycrcb[i] >> 8) & 0xFF) - 128;
        const int cb = int(ycrcb[i] & 0xFF) - 128;
        rgb[i] =
            clamp(y + 409 * cr) << 16 | clamp(y - 100 * cb - 208 * cr) << 8 | clamp(y + 516 * cb);
    }
    return rgb;
}

}  // namespace subtitles
