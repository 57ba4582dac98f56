#include "util/utils.h"

namespace {

// The job runner reads escaped paths into a fixed buffer of 1024 bytes with its terminator.
constexpr size_t kMaxUtf8Bytes = 1023;

// Cuts valid UTF-8 to at most `limit` bytes without leaving half a character behind, which the
// job runner would turn into a different, wrong letter.
std::string CutUtf8(std::string text, size_t limit) {
    if (text.size() <= limit) return text;
    size_t cut = limit;
    while (cut > 0 && (uint8_t(text[cut]) & 0xC0) == 0x80) --cut;
    text.resize(cut);
    return text;
}

}  // namespace

std::string EscapeHighBytes(const std::string& text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    for (char ch : text) {
        const uint8_t b = uint8_t(ch);
        if (b <= 0x7F) {
            out += ch;
            continue;
        }
        out += "\\x";
        out += kHex[b >> 4];
        out += kHex[b & 0x0F];
    }
    return out;
}

std::string EscapeUtf8(const std::string& text, CodePage from) {
    return EscapeHighBytes(CutUtf8(ToUtf8(text, from), kMaxUtf8Bytes));
}

std::string EscapeBackslashes(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char ch : text) {
        out += ch;
        if (ch == '\\') out += '\\';
    }
    return out;
}
