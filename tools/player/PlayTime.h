#pragma once
// Frame times of a clip with a frame rate given as a fraction.
#include <chrono>
#include <cstdint>
#include <string>

namespace player {

struct FrameRate {
    unsigned numerator = 25;
    unsigned denominator = 1;
};

// A rate the clock can run on: the clip's own, or 25 per second when either part is zero.
FrameRate UsableRate(unsigned numerator, unsigned denominator);

// How long after frame 0 frame n is shown.
std::chrono::nanoseconds FrameTime(int64_t n, FrameRate rate);

// "H:MM:SS.mmm" of frame n, milliseconds cut, not rounded, so that a frame's time never shows
// the next second before that second's first frame.
std::string FrameTimeText(int64_t n, FrameRate rate);

}  // namespace player
