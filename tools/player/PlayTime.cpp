#include "PlayTime.h"

#include <cmath>
#include <cstdio>

namespace player {

namespace {

// Seconds as a double: exact for every whole millisecond a real clip reaches, and no overflow
// whatever fraction a script gives.
double Seconds(int64_t n, FrameRate rate) {
    return double(n) * rate.denominator / rate.numerator;
}

}  // namespace

FrameRate UsableRate(unsigned numerator, unsigned denominator) {
    if (numerator == 0 || denominator == 0) return {};
    return {numerator, denominator};
}

std::chrono::nanoseconds FrameTime(int64_t n, FrameRate rate) {
    return std::chrono::nanoseconds(std::llround(Seconds(n, rate) * 1e9));
}

std::string FrameTimeText(int64_t n, FrameRate rate) {
    // One division, so that a whole millisecond comes out whole.
    const auto ms =
        static_cast<long long>(std::floor(double(n) * rate.denominator * 1000 / rate.numerator));
    char text[48];
    std::snprintf(text, sizeof text, "%lld:%02lld:%02lld.%03lld", ms / 3600000, ms / 60000 % 60,
                  ms / 1000 % 60, ms % 1000);
    return text;
}

}  // namespace player
