// clang-format off
// fuzz-sources: src/encoder/rules/ThresholdCapture.cpp src/util/SplitText.cpp src/platform/locale.cpp src/platform/locale_numbers.cpp src/platform/locale_time.cpp
// clang-format on
// Debug strings come from a program outside our control. Whatever they hold, the capture either
// leaves the threshold alone, raises it to a metric below 2.0, or reports a conversion error.
#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "encoder/rules/ThresholdCapture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    for (double before : {0.0, 1.5}) {
        double threshold = before;
        try {
            CaptureThreshold(text, threshold);
        } catch (const std::runtime_error&) {
            if (threshold != before) std::abort();
            continue;
        }
        if (threshold != before && !(threshold > before && threshold < 2.0)) std::abort();
    }
    return 0;
}
