// The run's side of debug capture: the strings go to the threshold search.
#include "encoder/Runner.h"
#include "encoder/ThresholdCapture.h"
#include "encoder/encoder.h"

bool TMXEncoder::RunCapturingDebugOutput(const std::string& commandLine) {
    return ::RunCapturingDebugOutput(
        commandLine, [this](const std::string& text) { CaptureThreshold(text, HybridThreshold); });
}
