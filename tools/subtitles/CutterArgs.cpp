#include "CutterArgs.h"

#include <stdexcept>
#include <vector>

#include "platform/process.h"

namespace subtitles {
namespace {

std::runtime_error BadTail(const std::string& tail, const std::string& what) {
    return std::runtime_error("Cutter \"" + tail + "\": " + what);
}

// Digits from `pos` up to `stop` (or the end); false when there are none or too many.
bool Digits(const std::string& text, size_t& pos, char stop, int64_t& value) {
    const size_t start = pos;
    value = 0;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9' && pos - start < 9)
        value = value * 10 + (text[pos++] - '0');
    if (pos == start || (pos < text.size() && text[pos] != stop)) return false;
    if (pos < text.size()) ++pos;
    return true;
}

// The last blank-separated word of `text`, taken off it.
std::string TakeLastWord(std::string& text) {
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.pop_back();
    const size_t blank = text.find_last_of(" \t");
    const std::string word = blank == std::string::npos ? text : text.substr(blank + 1);
    text.resize(blank == std::string::npos ? 0 : blank);
    return word;
}

void SplitNames(const std::string& tail, const std::string& names,
                const std::function<bool(const std::string&)>& indexExists, CutterArgs& args) {
    if (names.find('"') != std::string::npos) {
        const std::vector<std::string> parts = platform::SplitCommandLine(names);
        if (parts.size() != 2) throw BadTail(tail, "two names are expected before the times");
        args.source = parts[0];
        args.part = parts[1];
        return;
    }
    size_t chosen = std::string::npos;
    for (size_t blank = names.find(' '); blank != std::string::npos && chosen == std::string::npos;
         blank = names.find(' ', blank + 1))
        if (indexExists(names.substr(0, blank) + ".idx")) chosen = blank;
    if (chosen == std::string::npos) chosen = names.find(' ');
    if (chosen == std::string::npos || chosen + 1 >= names.size())
        throw BadTail(tail, "two names are expected before the times");
    args.source = names.substr(0, chosen);
    args.part = names.substr(chosen + 1);
}

}  // namespace

int64_t ParseTimeText(const std::string& text) {
    size_t pos = 0;
    int64_t h = 0, m = 0, s = 0;
    if (!Digits(text, pos, ':', h) || !Digits(text, pos, ':', m) || !Digits(text, pos, '.', s))
        throw std::runtime_error("\"" + text + "\" is not a time (h:m:s.fff)");
    int64_t ms = 0;
    int64_t scale = 100;
    for (; pos < text.size(); ++pos, scale /= 10) {
        if (text[pos] < '0' || text[pos] > '9')
            throw std::runtime_error("\"" + text + "\" is not a time (h:m:s.fff)");
        ms += (text[pos] - '0') * scale;  // digits past the millisecond add nothing
    }
    return ((h * 60 + m) * 60 + s) * 1000 + ms;
}

CutterArgs ParseCutterTail(const std::string& tail,
                           const std::function<bool(const std::string&)>& indexExists) {
    std::string rest = tail;
    CutterArgs args;
    const std::string end = TakeLastWord(rest);
    const std::string start = TakeLastWord(rest);
    const std::string ranges = TakeLastWord(rest);
    if (ranges != "1")
        throw BadTail(tail, "one time range is expected (\"1 <start> <end>\" after the names)");
    try {
        args.startMs = ParseTimeText(start);
        args.endMs = ParseTimeText(end);
    } catch (const std::exception& e) {
        throw BadTail(tail, e.what());
    }
    if (args.endMs < args.startMs) throw BadTail(tail, "the end time lies before the start time");
    while (!rest.empty() && (rest.front() == ' ' || rest.front() == '\t')) rest.erase(0, 1);
    SplitNames(tail, rest, indexExists, args);
    return args;
}

}  // namespace subtitles
