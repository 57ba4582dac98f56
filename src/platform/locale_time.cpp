#include <time.h>

#include <vector>

#include "platform/locale.h"
#include "platform/locale_internal.h"

namespace platform {
namespace {

using locale_internal::LocaleHandle;

std::string FormatLocal(Clock::time_point t, const std::string& format,
                        const std::string& localeName) {
    if (format.empty()) return {};
    const time_t seconds = Clock::to_time_t(t);
    struct tm local {};
    tzset();  // follow a change of TZ, which localtime_r alone does not look at
    if (!localtime_r(&seconds, &local)) return {};
    // Month and day names and the AM/PM marks come from the formats' own locale.
    LocaleHandle named(LC_TIME_MASK, localeName);
    LocaleHandle neutral(LC_TIME_MASK, named.Valid() ? "" : "C");
    locale_t loc = named.Valid() ? named.Get() : neutral.Get();
    if (loc == locale_t(0)) return {};
    for (std::size_t size = 128; size <= 8192; size *= 4) {
        std::vector<char> buffer(size);
        const std::size_t length = strftime_l(buffer.data(), size, format.c_str(), &local, loc);
        if (length > 0) return std::string(buffer.data(), length);
    }
    return {};  // a format whose text is empty, or absurdly long
}

}  // namespace

std::string FormatShortDate(Clock::time_point t, const FormatSettings& fs) {
    return FormatLocal(t, fs.shortDateFormat, fs.localeName);
}

std::string FormatLongTime(Clock::time_point t, const FormatSettings& fs) {
    return FormatLocal(t, fs.longTimeFormat, fs.localeName);
}

}  // namespace platform
