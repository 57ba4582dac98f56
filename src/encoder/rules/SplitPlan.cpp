#include "encoder/rules/SplitPlan.h"

#include <cmath>
#include <cstdio>

#include "util/PathText.h"
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
    // Whole milliseconds first, so that a time such as 3723.52 s, which a double holds as
    // 3723.5199..., is not cut to 519 ms.
    const int64_t total = int64_t(std::floor(double(endFrame) * 1000 / frameRate));
    const int64_t t = total / 1000;
    const int64_t m = t / 60;
    const int64_t h = m / 60;
    char text[64];
    std::snprintf(text, sizeof text, "%2d:%2d:%2d.%3d", int(h), int(m - 60 * h), int(t - 60 * m),
                  int(total % 1000));
    std::string out = text;
    for (char& c : out)
        if (c == ' ') c = '0';
    return out;
}
