#pragma once
// The settings lines at the head of a subtitle index that the renderer honours: the picture size
// the subpictures are placed on, their origin, the palette, the overall opacity, the time offset,
// whether only forced subpictures show, and which stream is chosen.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace subrender {

struct VobSubSettings {
    int width = 0, height = 0;           // "size:"; 0 when the index gives none
    int originX = 0, originY = 0;        // "org:"
    std::array<uint32_t, 16> palette{};  // "palette:", 0xRRGGBB
    bool hasPalette = false;
    int alphaPercent = 100;    // "alpha:"
    int64_t timeOffsetMs = 0;  // "time offset:", added to every time stamp
    bool forcedOnly = false;   // "forced subs: ON"
    int langidx = -1;          // "langidx:", the stream number to show
};

// Reads the header lines (without line ends); a line it knows but cannot read keeps the default
// and adds a warning naming `name` and the line.
VobSubSettings ReadSettings(const std::vector<std::string>& header, const std::string& name,
                            std::vector<std::string>& warnings);

}  // namespace subrender
