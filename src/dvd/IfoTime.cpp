#include "dvd/IfoTime.h"

#include <cstdio>

namespace {

constexpr int64_t kMsPerHour = 3600000;
constexpr int64_t kMsPerMinute = 60000;
constexpr int64_t kMsPerDay = 24 * kMsPerHour;

std::string FormatTime(int hours, int minutes, int seconds, int ms) {
    char text[32];
    std::snprintf(text, sizeof text, "%d:%02d:%02d.%03d", hours, minutes, seconds, ms);
    return text;
}

// Frame counts are small whole numbers, so the quotient is never exactly half way for 25 or 30
// frames per second and plain rounding to the nearest is exact.
int FramesToMilliseconds(int frames, int rate) {
    return (frames * 1000 + rate / 2) / rate;
}

}  // namespace

std::optional<int> BcdValue(uint8_t byte) {
    const int high = byte >> 4;
    const int low = byte & 0x0F;
    if (high > 9 || low > 9) return std::nullopt;
    return high * 10 + low;
}

TPlaybackTime ReadPlaybackTime(const IfoBytes& bytes, uint64_t offset, const char* what) {
    const uint32_t raw = bytes.U32(offset, what);
    const uint8_t frameByte = raw & 0xFF;
    const auto hours = BcdValue(raw >> 24);
    const auto minutes = BcdValue((raw >> 16) & 0xFF);
    const auto seconds = BcdValue((raw >> 8) & 0xFF);
    // The frame count's tens digit has two bits only, so it can never be above 9.
    const auto frames = BcdValue(frameByte & 0x3F);
    if (!hours || !minutes || !seconds || !frames) {
        char hex[16];
        std::snprintf(hex, sizeof hex, "%08X", raw);
        bytes.Fail(std::string(what) + " at offset " + HexOffset(offset) + " is not a BCD time (" +
                   hex + " has a digit above 9)");
    }
    const int rate = (frameByte >> 6) == 3 ? 30 : 25;
    return {*hours, *minutes, *seconds, FramesToMilliseconds(*frames, rate)};
}

int64_t TotalMilliseconds(const TPlaybackTime& t) {
    return t.Hours * kMsPerHour + t.Minutes * kMsPerMinute + t.Seconds * int64_t{1000} +
           t.Milliseconds;
}

std::optional<std::string> TimeText(const TPlaybackTime& t) {
    if (t.Hours < 0 || t.Hours >= 24 || t.Minutes < 0 || t.Minutes >= 60 || t.Seconds < 0 ||
        t.Seconds >= 60 || t.Milliseconds < 0 || t.Milliseconds >= 1000) {
        return std::nullopt;
    }
    return FormatTime(t.Hours, t.Minutes, t.Seconds, t.Milliseconds);
}

std::optional<std::string> TimeTextOfMilliseconds(int64_t ms) {
    if (ms < 0 || ms >= kMsPerDay) return std::nullopt;
    const int hours = static_cast<int>(ms / kMsPerHour);
    const int minutes = static_cast<int>(ms % kMsPerHour / kMsPerMinute);
    const int seconds = static_cast<int>(ms % kMsPerMinute / 1000);
    return FormatTime(hours, minutes, seconds, static_cast<int>(ms % 1000));
}
