#include "IndexText.h"

#include <cinttypes>
#include <cstdio>
#include <stdexcept>
#include <string_view>

namespace subtitles {
namespace {

constexpr int kLargestStream = 31;

std::string Format(const char* format, auto... values) {
    char text[128];
    std::snprintf(text, sizeof text, format, values...);
    return text;
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

bool StartsWith(std::string_view s, std::string_view prefix) {
    return s.substr(0, prefix.size()) == prefix;
}

// Reads decimal digits (at most `most`) from the front of `s`; false when there are none.
bool TakeNumber(std::string_view& s, int most, int64_t& value) {
    int digits = 0;
    value = 0;
    while (!s.empty() && s.front() >= '0' && s.front() <= '9' && digits < most) {
        value = value * 10 + (s.front() - '0');
        s.remove_prefix(1);
        ++digits;
    }
    return digits > 0;
}

bool TakeText(std::string_view& s, std::string_view text) {
    if (!StartsWith(s, text)) return false;
    s.remove_prefix(text.size());
    return true;
}

// "hh:mm:ss:mmm, filepos: hex" after "timestamp:".
bool ParseTimestamp(std::string_view s, IndexEntry& entry) {
    s = Trim(s);
    int64_t h, m, sec, ms;
    if (!TakeNumber(s, 6, h) || !TakeText(s, ":") || !TakeNumber(s, 2, m) || !TakeText(s, ":") ||
        !TakeNumber(s, 2, sec) || !TakeText(s, ":") || !TakeNumber(s, 3, ms) || !TakeText(s, ",") ||
        m > 59 || sec > 59)
        return false;
    s = Trim(s);
    if (!TakeText(s, "filepos:")) return false;
    s = Trim(s);
    if (s.empty() || s.size() > 15) return false;
    uint64_t pos = 0;
    for (char c : s) {
        const int digit = c >= '0' && c <= '9'   ? c - '0'
                          : c >= 'a' && c <= 'f' ? c - 'a' + 10
                          : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                 : -1;
        if (digit < 0) return false;
        pos = pos * 16 + uint64_t(digit);
    }
    entry = {((h * 60 + m) * 60 + sec) * 1000 + ms, pos};
    return true;
}

// "id: xx, index: n".
bool ParseStreamLine(std::string_view s, IndexStream& stream) {
    const size_t comma = s.find(',');
    if (comma == std::string_view::npos) return false;
    stream.language = std::string(Trim(s.substr(3, comma - 3)));
    std::string_view rest = Trim(s.substr(comma + 1));
    int64_t number;
    if (!TakeText(rest, "index:")) return false;
    rest = Trim(rest);
    if (!TakeNumber(rest, 3, number) || !Trim(rest).empty() || number > kLargestStream)
        return false;
    stream.number = int(number);
    return true;
}

}  // namespace

std::vector<std::string> NewIndexHeader(int width, int height,
                                        const std::array<uint32_t, 16>& palette, int langidx) {
    std::string colours = "palette:";
    for (size_t i = 0; i < 16; ++i)
        colours += Format("%s %06x", i ? "," : "", unsigned(palette[i] & 0xFFFFFF));
    return {kIndexSignature,
            "",
            Format("size: %dx%d", width, height),
            "org: 0, 0",
            "scale: 100%, 100%",
            "alpha: 100%",
            "smooth: OFF",
            "fadein/out: 0, 0",
            "align: OFF at LEFT TOP",
            "time offset: 0",
            "forced subs: OFF",
            colours,
            "custom colors: OFF, tridx: 0000, colors: 000000, 000000, 000000, 000000",
            Format("langidx: %d", langidx)};
}

std::string IndexText(const SubtitleIndex& index) {
    std::string text;
    for (const std::string& line : index.header) text += line + "\r\n";
    for (const IndexStream& stream : index.streams) {
        text += "\r\nid: " + stream.language + ", index: " + std::to_string(stream.number) + "\r\n";
        for (const IndexEntry& e : stream.entries) {
            const int64_t s = e.timeMs / 1000;
            text += Format("timestamp: %02" PRId64 ":%02" PRId64 ":%02" PRId64 ":%03" PRId64
                           ", filepos: %09" PRIx64 "\r\n",
                           s / 3600, s / 60 % 60, s % 60, e.timeMs % 1000, e.filepos);
        }
    }
    return text;
}

SubtitleIndex ParseIndex(const std::string& text, const std::string& name,
                         std::vector<std::string>& warnings) {
    if (!StartsWith(text, "# VobSub index file, v"))
        throw std::runtime_error(name +
                                 ": not a subtitle index (its first line is not the "
                                 "index signature)");
    SubtitleIndex index;
    bool seenStream = false;
    bool inStream = false;  // false after a stream line that could not be read
    size_t lineNumber = 0;
    for (size_t start = 0; start < text.size(); ++lineNumber) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string_view line(text.data() + start, end - start);
        start = end + 1;
        if (line.ends_with('\r')) line.remove_suffix(1);
        const std::string where = name + " line " + std::to_string(lineNumber + 1) + ": ";
        const bool timestamp = StartsWith(line, "timestamp:");
        if (StartsWith(line, "id:")) {
            IndexStream stream;
            seenStream = true;
            inStream = ParseStreamLine(line, stream);
            if (inStream)
                index.streams.push_back(stream);
            else
                warnings.push_back(where +
                                   "a stream line that cannot be read; its "
                                   "subpictures are skipped");
        } else if (!seenStream && !timestamp) {
            index.header.emplace_back(line);
        } else if (timestamp && inStream) {
            IndexEntry entry;
            if (ParseTimestamp(line.substr(10), entry))
                index.streams.back().entries.push_back(entry);
            else
                warnings.push_back(where + "a time stamp that cannot be read is skipped");
        } else if (timestamp && !seenStream) {
            warnings.push_back(where + "a time stamp before any stream is skipped");
        }
    }
    while (!index.header.empty() && index.header.back().empty()) index.header.pop_back();
    return index;
}

}  // namespace subtitles
