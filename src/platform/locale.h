#pragma once
// Number, date and time formats. The program's fixed format (UK conventions: "." decimals, ","
// thousands) is used for scripts, tool logs, index files and the budget lines; the user's regional
// format (LC_NUMERIC, LC_TIME) for the other log lines. Nothing here changes the process-wide C
// locale, which is not thread-safe: the user's locale is looked up with newlocale() and used
// through the *_l functions.
#include <chrono>
#include <optional>
#include <string>

namespace platform {

// A separator outside ASCII (a narrow no-break space, say) is given as a blank; a thousands
// separator of '\0' means no grouping.
struct FormatSettings {
    char decimalSeparator = '.';
    char thousandSeparator = ',';
    std::string shortDateFormat = "%d/%m/%Y";  // strftime pattern
    std::string longTimeFormat = "%H:%M:%S";   // strftime pattern
    // The locale the date and time formats came from; it also gives the names of months and days
    // and the AM/PM marks. One that is not installed stands for "C".
    std::string localeName = "en_GB";
};

// The program's fixed format (locale 2057, English - United Kingdom, with "." decimals).
FormatSettings ProgramFormat();

// The user's regional formats: numbers from LC_ALL, else LC_NUMERIC, else LANG; dates and times
// from LC_ALL, else LC_TIME, else LANG. A category whose locale is not set, not installed, or
// "C"/"POSIX" gets "." decimals and no thousands separator, or ISO dates ("%Y-%m-%d") and a
// 24-hour clock ("%H:%M:%S").
FormatSettings UserFormat();

// "%.Nf": fixed with `decimals` digits (0 to 30), the settings' decimal separator, rounded as
// printf rounds; a value that rounds to zero has no minus sign.
std::string FormatFixed(double value, int decimals, const FormatSettings& fs);
// "%.Nn": as FormatFixed with thousands separators every three digits.
std::string FormatNumber(double value, int decimals, const FormatSettings& fs);

// Reads a decimal number written with the settings' decimal separator (leading/trailing blanks
// allowed, an exponent allowed, nothing else). nullopt when the text is not such a number.
std::optional<double> ParseFloat(const std::string& text, const FormatSettings& fs);
// Reads a whole decimal number (optional sign, blanks around). nullopt otherwise or on overflow.
std::optional<long long> ParseInteger(const std::string& text);

// Local date and time in the settings' short date and long time formats.
using Clock = std::chrono::system_clock;
std::string FormatShortDate(Clock::time_point t, const FormatSettings& fs);
std::string FormatLongTime(Clock::time_point t, const FormatSettings& fs);

}  // namespace platform
