// clang-format off
// fuzz-sources: src/encoder/rules/IndexLines.cpp src/encoder/rules/InterlaceDetect.cpp src/encoder/rules/FrameSizes.cpp src/util/SplitText.cpp src/platform/locale.cpp src/platform/locale_numbers.cpp src/platform/locale_time.cpp
// clang-format on
// The index file, the analysis log and frames.log are written by programs outside our control.
// Whatever they hold, reading them either gives a result or reports the damage; it never reads
// outside the lines it was given.
#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

#include "encoder/rules/FrameSizes.h"
#include "encoder/rules/IndexLines.h"
#include "encoder/rules/InterlaceDetect.h"

namespace {

std::vector<std::string> LinesOf(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

void ReadIndex(std::vector<std::string> lines) {
    try {
        FilmPercentOf(lines, "f");
    } catch (const std::runtime_error&) {
    }
    try {
        const size_t before = lines.size();
        SetFieldOperation(lines, kForcedFilmOperation, kFilmFrameRate, "f");
        if (lines.size() != before) std::abort();
    } catch (const std::runtime_error&) {
    }
    try {
        CountIndexFrames(lines, "f");
    } catch (const std::runtime_error&) {
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<std::string> lines =
        LinesOf(std::string(reinterpret_cast<const char*>(data), size));
    ReadIndex(lines);
    const TInterlaceWalk walk = WalkWindows(lines);
    const double ratio = CombingRatio(walk.Counts);
    if (!(ratio >= 0 && ratio <= 1)) std::abort();
    for (int32_t cycle : {0, 14, 15}) {
        try {
            const TFrameSizes sizes = SumFrameSizes(lines, cycle, cycle == 15 ? 3 : 1, "f");
            if (sizes.Count > static_cast<int64_t>(lines.size()) || sizes.Sum < 0) std::abort();
        } catch (const std::runtime_error&) {
        }
    }
    return 0;
}
