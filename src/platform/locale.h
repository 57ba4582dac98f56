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

struct FormatSettings {
    char decimalSeparator = '.';
    char thousandSeparator = ',';
    std::string shortDateFormat = "%d/%m/%Y";  // strftime pattern
    std::string longTimeFormat = "%H:%M:%S";   // strftime pattern
    std::string localeName = "en_GB";          // the locale the formats came from
};

// The program's fixed format (locale 2057, English - United Kingdom, with "." decimals).
FormatSettings ProgramFormat();

// The user's regional formats, from LC_ALL / LC_NUMERIC / LC_TIME / LANG; the program's format
// where a locale is not installed or not set ("C"/"POSIX" give "." and no thousands separator,
// and ISO-like dates).
FormatSettings UserFormat();

// "%.Nf": fixed with `decimals` digits, the settings' decimal separator.
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
