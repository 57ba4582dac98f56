#pragma once
// frames.log: one line per encoded frame, a frame-type mark followed by the frame's size in
// bytes. The compressibility test uses only the middle of each sample; the first pass all lines.
#include <cstdint>
#include <string>
#include <vector>

struct TFrameSizes {
    int64_t Sum = 0;    // bytes
    int64_t Count = 0;  // lines used
};

// Every line when `cycle` is 0; otherwise lines whose number mod `cycle` is at least `skip`
// from either end of the sample (XviD skips 3, DivX 1). Throws std::runtime_error naming `path`
// and the line for a size that is not a whole number of bytes.
TFrameSizes SumFrameSizes(const std::vector<std::string>& lines, int32_t cycle, int32_t skip,
                          const std::string& path);

// The ends of each sample that the codec spends settling in, left out of the measurement.
inline int32_t SampleEdgeFrames(uint8_t codec) {
    return codec == 0 ? 3 : 1;
}
