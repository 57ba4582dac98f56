#pragma once
// Rounding to an integer everywhere in the program: to the nearest value, halves to even.
#include <cmath>
#include <cstdint>

inline int64_t RoundHalfEven(double value) {
    double whole = std::floor(value);
    double diff = value - whole;
    if (diff > 0.5 || (diff == 0.5 && std::fmod(whole, 2.0) != 0.0)) whole += 1.0;
    return static_cast<int64_t>(whole);
}
