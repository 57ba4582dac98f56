#include "app/VideoSummary.h"

#include <charconv>
#include <cmath>

std::string GeneralNumberText(double value, char decimalSeparator) {
    if (!std::isfinite(value)) return "0";
    char text[64];
    // Not printf: the window program's C locale follows the user's, and this must not depend on
    // which thread set it to what.
    const auto result =
        std::to_chars(text, text + sizeof text, value, std::chars_format::general, 15);
    std::string out(text, result.ptr);
    for (char& c : out)
        if (c == '.') c = decimalSeparator;
    return out;
}

std::string VideoSummaryLine(const TVobInfo& info, char decimalSeparator) {
    const TVideoInfo& video = info.Video;
    std::string line = "Video info:   " + video.Standard + " - " + std::to_string(video.Width) +
                       "x" + std::to_string(video.Height) +
                       (video.Widescreen ? " - 16:9 Anamorphic - " : " - 4:3 Normal - ") +
                       GeneralNumberText(video.FrameRate, decimalSeparator) + "fps";
    if (!info.Duration.empty()) line += " - " + info.Duration;
    return line;
}
