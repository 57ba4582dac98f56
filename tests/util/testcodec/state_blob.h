#pragma once
// The state the test codec reports: `size` bytes that every run produces alike, and that no
// simple pattern in the encoder could hide (all 256 byte values occur, in no fixed order).
#include <cstddef>
#include <cstdint>

inline uint8_t TestCodecStateByte(size_t i) {
    return uint8_t((i * 131u + 7u) ^ (i >> 8) ^ (i >> 13));
}
