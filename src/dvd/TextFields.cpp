#include "dvd/TextFields.h"

#include <charconv>

namespace {

bool IsTrimmed(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte <= 0x20 || byte == 0x7F;
}

bool IsHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

}  // namespace

std::string TrimText(const std::string& text) {
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && IsTrimmed(text[begin])) ++begin;
    while (end > begin && IsTrimmed(text[end - 1])) --end;
    return text.substr(begin, end - begin);
}

std::string CopyText(const std::string& text, int64_t from, int64_t count) {
    if (from < 1) from = 1;
    const auto size = static_cast<int64_t>(text.size());
    if (count <= 0 || from > size) return "";
    if (count > size - from + 1) count = size - from + 1;
    return text.substr(static_cast<size_t>(from - 1), static_cast<size_t>(count));
}

int64_t PositionOf(const std::string& what, const std::string& text) {
    const size_t at = text.find(what);
    return at == std::string::npos ? 0 : static_cast<int64_t>(at) + 1;
}

std::optional<int32_t> HexNumber(const std::string& text) {
    if (text.empty() || text.size() > 7) return std::nullopt;
    uint32_t value = 0;
    for (char c : text) {
        if (!IsHexDigit(c)) return std::nullopt;
        value = value << 4 | static_cast<uint32_t>(c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10);
    }
    return static_cast<int32_t>(value);
}

std::optional<int32_t> DecimalNumber(const std::string& text) {
    const char* begin = text.data();
    const char* end = begin + text.size();
    // from_chars takes a "-" but not a "+".
    if (begin != end && *begin == '+' && ++begin != end && *begin == '-') return std::nullopt;
    int32_t value = 0;
    const auto [ptr, ec] = std::from_chars(begin, end, value);
    if (ec != std::errc() || ptr != end) return std::nullopt;
    return value;
}
