#include "VobSubSettings.h"

#include <charconv>
#include <string_view>

namespace subrender {
namespace {

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

// A whole number at the front of `s` (after blanks), in `base`; the rest stays in `s`.
bool Take(std::string_view& s, int64_t& value, int base = 10) {
    s = Trim(s);
    const char* end = s.data() + s.size();
    const auto r = std::from_chars(s.data(), end, value, base);
    if (r.ec != std::errc() || r.ptr == s.data()) return false;
    s.remove_prefix(size_t(r.ptr - s.data()));
    return true;
}

bool Skip(std::string_view& s, char c) {
    s = Trim(s);
    if (s.empty() || s.front() != c) return false;
    s.remove_prefix(1);
    return true;
}

bool Pair(std::string_view s, char separator, int64_t& a, int64_t& b) {
    return Take(s, a) && Skip(s, separator) && Take(s, b) && a >= 0 && b >= 0 && a <= 16384 &&
           b <= 16384;
}

bool Palette(std::string_view s, std::array<uint32_t, 16>& out) {
    for (size_t i = 0; i < 16; ++i) {
        int64_t v;
        if ((i > 0 && !Skip(s, ',')) || !Take(s, v, 16) || v < 0 || v > 0xFFFFFF) return false;
        out[i] = uint32_t(v);
    }
    return Trim(s).empty();
}

// One known line; false when it cannot be read.
bool Apply(std::string_view key, std::string_view value, VobSubSettings& s) {
    int64_t a = 0, b = 0;
    if (key == "size") {
        if (!Pair(value, 'x', a, b) || a == 0 || b == 0) return false;
        s.width = int(a), s.height = int(b);
    } else if (key == "org") {
        if (!Pair(value, ',', a, b)) return false;
        s.originX = int(a), s.originY = int(b);
    } else if (key == "palette") {
        if (!Palette(value, s.palette)) return false;
        s.hasPalette = true;
    } else if (key == "alpha") {
        if (!Take(value, a) || a < 0 || a > 100) return false;
        s.alphaPercent = int(a);
    } else if (key == "time offset") {
        if (!Take(value, a) || a < -86400000 || a > 86400000) return false;
        s.timeOffsetMs = a;
    } else if (key == "forced subs") {
        if (value != "ON" && value != "OFF") return false;
        s.forcedOnly = value == "ON";
    } else if (key == "langidx") {
        if (!Take(value, a) || a < 0 || a > 31 || !Trim(value).empty()) return false;
        s.langidx = int(a);
    }
    return true;
}

}  // namespace

VobSubSettings ReadSettings(const std::vector<std::string>& header, const std::string& name,
                            std::vector<std::string>& warnings) {
    VobSubSettings s;
    for (size_t i = 0; i < header.size(); ++i) {
        const std::string_view line = Trim(header[i]);
        const size_t colon = line.find(':');
        if (line.empty() || line.front() == '#' || colon == std::string_view::npos) continue;
        if (!Apply(Trim(line.substr(0, colon)), Trim(line.substr(colon + 1)), s))
            warnings.push_back(name + " line " + std::to_string(i + 1) + ": \"" +
                               std::string(line) + "\" cannot be read and is left out");
    }
    return s;
}

}  // namespace subrender
