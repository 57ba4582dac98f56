// The size-mode part of a normal run: the compressibility test, the adjustment it leads to, the
// quantizer limits and the two passes.
#include <cmath>
#include <cstdint>
#include <limits>
#include <stdexcept>
#include <string>

#include "encoder/encoder.h"
#include "jobs/ProgramValues.h"
#include "platform/files.h"
#include "platform/paths.h"

namespace {

// The marker "no.encode" in the program folder, file or folder, skips both passes.
bool NoEncodeMarker() {
    const std::string path = Program().ProgramDir + platform::kPathDelimStr + "no.encode";
    return platform::FileExists(path) || platform::DirectoryExists(path);
}

}  // namespace

void TMXEncoder::RunSizeMode() {
    LogLine("Running compressibility test.");
    stages_.RunCompTest(*this);
    stages_.MeasureCompTest(*this);
    LogLine("Compressibility percentage is: " + FormatLogFloat(CompRatio * 100));
    stages_.AdjustAfterCompTest(*this);
    SetMaxQuantizers();
    LogChosenResolution();
    LogLine("Predicted comptest value is: " + FormatLogFloat(CompRatio * 100));
    if (NoEncodeMarker()) return;
    LogLine("Running first pass.");
    stages_.RunFirstPass(*this);
    LogLine("Running second pass.");
    stages_.RunSecondPass(*this);
}

// The better the sample compressed, the lower the quantizers the passes may use.
void TMXEncoder::SetMaxQuantizers() {
    const double limit = std::ceil(2.0 / (CompRatio - 0.01));
    if (!(CompRatio - 0.01 > 0) || limit > std::numeric_limits<int32_t>::max())
        throw std::runtime_error("The predicted comptest value " + FormatLogFloat(CompRatio * 100) +
                                 " is too small to set the quantizer limits.");
    XviDParams.MaxIQuant = static_cast<int32_t>(limit);
    XviDParams.MaxPQuant = static_cast<int32_t>(limit);
}

void TMXEncoder::LogChosenResolution() {
    const int32_t height = stages_.HeightForWidth(*this, OutWidth);
    if (height <= 0)
        throw std::runtime_error("The chosen resolution " + std::to_string(OutWidth) + "x" +
                                 std::to_string(height) + " is not usable.");
    LogLine("Chosen resolution is: " + std::to_string(OutWidth) + "x" + std::to_string(height) +
            " ( AR: " + FormatLogFloat(static_cast<double>(OutWidth) / height) + " )");
}
