#include "util/utils.h"

namespace {

std::string HoursPart(int64_t hours) {
    if (hours == 0) return "";
    if (hours == 1) return "1 hour, ";
    return std::to_string(hours) + " hours ";
}

std::string MinutesPart(int64_t hours, int64_t minutes) {
    if (hours == 0 && minutes == 0) return "";
    if (minutes == 1) return "1 minute, ";
    return std::to_string(minutes) + " minutes ";
}

std::string SecondsPart(int64_t seconds) {
    if (seconds == 1) return "1 second.";
    return std::to_string(seconds) + " seconds";
}

}  // namespace

std::string DurationText(std::chrono::system_clock::time_point a,
                         std::chrono::system_clock::time_point b) {
    const auto span = a < b ? b - a : a - b;
    const int64_t totalSeconds = std::chrono::duration_cast<std::chrono::seconds>(span).count();
    const int64_t hours = totalSeconds / 3600;
    const int64_t minutes = totalSeconds / 60 - 60 * hours;
    const int64_t seconds = totalSeconds - 60 * minutes - 3600 * hours;
    return HoursPart(hours) + MinutesPart(hours, minutes) + SecondsPart(seconds);
}
