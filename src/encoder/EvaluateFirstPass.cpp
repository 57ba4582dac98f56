// How close the first pass came to the budget decides how coarse the second may quantize.
#include <cmath>
#include <limits>
#include <stdexcept>
#include <string>

#include "encoder/FrameSizes.h"
#include "encoder/TextFiles.h"
#include "encoder/encoder.h"

void TMXEncoder::EvaluateFirstPass() {
    if (Settings.Codec != kCodecXviD) return;
    const std::string log = TempFolder() + "frames.log";
    const TFrameSizes sizes = SumFrameSizes(LoadTextLines(log), 0, 0, log);
    if (sizes.Sum == 0)
        throw std::runtime_error("The frame log " + log + " of the first pass has no frame sizes.");
    const double q = static_cast<double>(VideoSize) / sizes.Sum;
    LogLine("Expected quality of first pass size: " + FormatLogFloat(q * 100));
    const double limit = std::ceil(2 / (q - 0.01));
    if (!(q - 0.01 > 0) || limit > std::numeric_limits<int32_t>::max())
        throw std::runtime_error("The first pass came out " + FormatLogFloat(1 / q) +
                                 " times the budget; no quantizer limit fits.");
    XviDParams.MaxIQuant = static_cast<int32_t>(limit);
    XviDParams.MaxPQuant = static_cast<int32_t>(limit);
}
