#include "encoder/SplitPlan.h"

#include <cmath>
#include <cstdio>

#include "encoder/PathText.h"
#include "util/rounding.h"

int32_t PartSizeFor(int32_t targetSize, int64_t subtitleSize) {
    if (targetSize == 1400) return int32_t(734003200 - RoundHalfEven(double(subtitleSize) / 2));
    if (targetSize == 2100)  // three parts of 701 MB, as the CD sizes allow
        return int32_t(735051776 - RoundHalfEven(double(subtitleSize) / 3));
    return 0;
}

std::string PartFileName(const std::string& outputFile, int32_t part) {
    return ChangeFileExt(outputFile, ".cd" + std::to_string(part) + ".avi");
}

std::string SubtitleTimeText(int64_t endFrame, double frameRate) {
    const double seconds = double(endFrame) / frameRate;
    const int64_t t = int64_t(std::floor(seconds));
    const int64_t m = t / 60;
    const int64_t h = m / 60;
    const int64_t ms = int64_t(std::floor((seconds - double(t)) * 1000));
    char text[64];
    std::snprintf(text, sizeof text, "%2d:%2d:%2d.%3d", int(h), int(m - 60 * h), int(t - 60 * m),
                  int(ms));
    std::string out = text;
    for (char& c : out)
        if (c == ' ') c = '0';
    return out;
}
