#include "app/ProgressText.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

int ProgressPercent(const TJobProgress& progress) {
    if (progress.Total <= 0) return 0;
    const int64_t done = std::min(progress.Done, progress.Total);
    // In floating point: done * 100 may not fit in 64 bits.
    return static_cast<int>(std::floor(static_cast<double>(done) * 100 / progress.Total));
}

std::string TimeLeftText(double seconds) {
    const long long total = std::llround(std::max(seconds, 0.0));
    char text[48];
    if (total >= 3600)
        std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", total / 3600, total / 60 % 60,
                      total % 60);
    else
        std::snprintf(text, sizeof text, "%lld:%02lld", total / 60, total % 60);
    return text;
}

std::string ProgressText(const TJobProgress& progress, const platform::FormatSettings& fs) {
    std::string text = progress.Stage;
    if (progress.Total <= 0) return text;
    text += ": " + std::to_string(ProgressPercent(progress)) + "%";
    if (progress.Frames) {
        text +=
            ", frame " + std::to_string(progress.Done) + " of " + std::to_string(progress.Total);
        if (progress.Rate > 0) text += ", " + platform::FormatFixed(progress.Rate, 1, fs) + " fps";
    }
    if (progress.SecondsLeft >= 0) text += ", " + TimeLeftText(progress.SecondsLeft) + " left";
    return text;
}
