#include "util/codepage.h"

#include <cstdint>

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Windows-1252 differs from Latin-1 only in 0x80-0x9F. Its five unassigned bytes (0x81, 0x8D,
// 0x8F, 0x90, 0x9D) keep the C1 control of the same value, as the system's own conversion does.
constexpr char32_t kWindows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98-9F
};

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

std::string FromWindows1252(const std::string& text) {
    std::string out;
    out.reserve(text.size() * 2);
    for (char ch : text) {
        const uint8_t b = uint8_t(ch);
        AppendUtf8(out, b >= 0x80 && b < 0xA0 ? kWindows1252High[b - 0x80] : char32_t(b));
    }
    return out;
}

// Length of a well-formed sequence starting with `lead`, and the range its second byte must lie
// in (which rules out overlong forms, surrogates and values above U+10FFFF); 0 for a bad lead.
struct LeadInfo {
    int length;
    uint8_t low, high;
};

LeadInfo ClassifyLead(uint8_t lead) {
    if (lead >= 0xC2 && lead <= 0xDF) return {2, 0x80, 0xBF};
    if (lead == 0xE0) return {3, 0xA0, 0xBF};
    if (lead == 0xED) return {3, 0x80, 0x9F};
    if (lead >= 0xE1 && lead <= 0xEF) return {3, 0x80, 0xBF};
    if (lead == 0xF0) return {4, 0x90, 0xBF};
    if (lead >= 0xF1 && lead <= 0xF3) return {4, 0x80, 0xBF};
    if (lead == 0xF4) return {4, 0x80, 0x8F};
    return {0, 0, 0};
}

// Number of bytes of a well-formed sequence at `pos`, or the negated length of the longest
// ill-formed start (at least one byte), which becomes one replacement character.
int MeasureSequence(const std::string& text, size_t pos) {
    const uint8_t lead = uint8_t(text[pos]);
    if (lead < 0x80) return 1;
    const LeadInfo info = ClassifyLead(lead);
    if (info.length == 0) return -1;
    int taken = 1;
    for (; taken < info.length; ++taken) {
        if (pos + taken >= text.size()) return -taken;
        const uint8_t b = uint8_t(text[pos + taken]);
        const uint8_t low = taken == 1 ? info.low : 0x80;
        const uint8_t high = taken == 1 ? info.high : 0xBF;
        if (b < low || b > high) return -taken;
    }
    return taken;
}

std::string CleanUtf8(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t pos = 0; pos < text.size();) {
        const int n = MeasureSequence(text, pos);
        if (n > 0) {
            out.append(text, pos, size_t(n));
            pos += size_t(n);
        } else {
            AppendUtf8(out, kReplacement);
            pos += size_t(-n);
        }
    }
    return out;
}

}  // namespace

std::string ToUtf8(const std::string& text, CodePage from) {
    return from == CodePage::Windows1252 ? FromWindows1252(text) : CleanUtf8(text);
}
