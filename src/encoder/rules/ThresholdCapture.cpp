#include "encoder/rules/ThresholdCapture.h"

#include <stdexcept>
#include <vector>

#include "platform/locale.h"
#include "util/utils.h"

namespace {

// Blanks and control characters off both ends (the string's terminating zero among them).
std::string Trim(const std::string& text) {
    size_t first = 0;
    size_t last = text.size();
    while (first < last && static_cast<unsigned char>(text[first]) <= ' ') ++first;
    while (last > first && static_cast<unsigned char>(text[last - 1]) <= ' ') --last;
    return text.substr(first, last - first);
}

double MetricOf(const std::string& item) {
    const std::string text = Trim(item);
    // The filter writes its numbers with "." whatever the user's settings.
    auto value = platform::ParseFloat(text, platform::ProgramFormat());
    if (!value) throw std::runtime_error("'" + text + "' is not a valid floating point value");
    return *value;
}

long long FrameOf(const std::string& item) {
    const std::string text = Trim(item);
    auto value = platform::ParseInteger(text);
    if (!value) throw std::runtime_error("'" + text + "' is not a valid integer value");
    return *value;
}

}  // namespace

void CaptureThreshold(const std::string& text, double& threshold) {
    if (text.find("Decimate:") == std::string::npos) return;
    std::vector<std::string> items;
    SplitText(Trim(text), ":", &items);
    if (items.size() != 3) return;
    const double metric = MetricOf(items[2]);
    const long long frame = FrameOf(items[1]);
    if (frame % 2 == 1 && metric > threshold && metric < 2.0) threshold = metric;
}
