#include <charconv>
#include <cmath>

#include "platform/locale.h"

namespace platform {
namespace {

constexpr int kMaxDecimals = 30;

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

std::string_view Trimmed(const std::string& text) {
    std::string_view view = text;
    while (!view.empty() && IsBlank(view.front())) view.remove_prefix(1);
    while (!view.empty() && IsBlank(view.back())) view.remove_suffix(1);
    return view;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Digits from `pos`; returns how many there were.
std::size_t SkipDigits(std::string_view text, std::size_t& pos) {
    const std::size_t start = pos;
    while (pos < text.size() && IsDigit(text[pos])) ++pos;
    return pos - start;
}

// Checks the shape [sign] digits [separator digits] [e [sign] digits] with at least one mantissa
// digit, and spells it with "." for the conversion, which knows no other separator.
bool Canonical(std::string_view text, char separator, std::string& out) {
    std::size_t pos = 0;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) ++pos;
    std::size_t digits = SkipDigits(text, pos);
    const std::size_t separatorAt = pos;
    if (pos < text.size() && text[pos] == separator) {
        ++pos;
        digits += SkipDigits(text, pos);
    }
    if (digits == 0) return false;
    if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
        ++pos;
        if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) ++pos;
        if (SkipDigits(text, pos) == 0) return false;
    }
    if (pos != text.size()) return false;
    out.assign(text.substr(text[0] == '+' ? 1 : 0));
    if (separatorAt < text.size() && text[separatorAt] == separator)
        out[separatorAt - (text[0] == '+' ? 1 : 0)] = '.';
    return true;
}

// Inserts `separator` between groups of three digits of the whole part.
std::string Grouped(const std::string& fixed, char separator, char decimal) {
    const std::size_t start = !fixed.empty() && fixed[0] == '-' ? 1 : 0;
    std::size_t end = fixed.find(decimal, start);
    if (end == std::string::npos) end = fixed.size();
    std::string out = fixed.substr(0, start);
    for (std::size_t i = start; i < end; ++i) {
        if (i > start && (end - i) % 3 == 0) out += separator;
        out += fixed[i];
    }
    return out + fixed.substr(end);
}

}  // namespace

std::string FormatFixed(double value, int decimals, const FormatSettings& fs) {
    decimals = decimals < 0 ? 0 : (decimals > kMaxDecimals ? kMaxDecimals : decimals);
    char buffer[400];
    auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    if (result.ec != std::errc()) return "0";
    std::string text(buffer, result.ptr);
    if (!std::isfinite(value)) return text;
    // A value that rounds to zero is shown as zero, never as "-0".
    if (text[0] == '-' && text.find_first_not_of("-0.") == std::string::npos) text.erase(0, 1);
    const std::size_t point = text.find('.');
    if (point != std::string::npos) text[point] = fs.decimalSeparator;
    return text;
}

std::string FormatNumber(double value, int decimals, const FormatSettings& fs) {
    const std::string fixed = FormatFixed(value, decimals, fs);
    if (!std::isfinite(value) || fs.thousandSeparator == '\0') return fixed;
    return Grouped(fixed, fs.thousandSeparator, fs.decimalSeparator);
}

std::optional<double> ParseFloat(const std::string& text, const FormatSettings& fs) {
    std::string canonical;
    if (!Canonical(Trimmed(text), fs.decimalSeparator, canonical)) return std::nullopt;
    double value = 0;
    auto result = std::from_chars(canonical.data(), canonical.data() + canonical.size(), value);
    if (result.ec != std::errc() || result.ptr != canonical.data() + canonical.size())
        return std::nullopt;
    return value;
}

std::optional<long long> ParseInteger(const std::string& text) {
    std::string_view view = Trimmed(text);
    std::string_view digits = view;
    if (!digits.empty() && (digits[0] == '+' || digits[0] == '-')) digits.remove_prefix(1);
    if (digits.empty()) return std::nullopt;
    for (char c : digits)
        if (!IsDigit(c)) return std::nullopt;
    // The minus sign stays with the digits, so that the most negative value still fits.
    if (view[0] == '+') view.remove_prefix(1);
    long long value = 0;
    auto result = std::from_chars(view.data(), view.data() + view.size(), value);
    if (result.ec != std::errc() || result.ptr != view.data() + view.size()) return std::nullopt;
    return value;
}

}  // namespace platform
