#include "platform/ini_text.h"

#include "platform/hive_names.h"
#include "platform/text_lines.h"

namespace platform::detail {
namespace {

// A bare CR counts as a blank: a last line may end in one that a later line end completes.
constexpr const char* kBlanks = " \t\r";

std::string Trim(const std::string& text) {
    size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string::npos) return std::string();
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

// A CR that ends the text without an LF stays in its line: a later write completes the line with
// the text's own line end instead of taking the CR for one.
std::vector<TextLine> SplitIniLines(const std::string& text) {
    std::vector<TextLine> lines = SplitTextLines(text);
    if (!lines.empty() && lines.back().end == "\r") {
        lines.back().text += '\r';
        lines.back().end.clear();
    }
    return lines;
}

std::string Join(const std::vector<TextLine>& lines) {
    std::string text;
    for (const TextLine& line : lines) text += line.text + line.end;
    return text;
}

struct Entry {
    enum class Kind { Other, Section, Pair } kind = Kind::Other;
    std::string name;   // section or key name, trimmed
    std::string value;  // of a pair, trimmed
};

Entry Classify(const std::string& body) {
    Entry entry;
    std::string line = Trim(body);
    if (line.empty() || line[0] == ';') return entry;
    if (line[0] == '[') {
        size_t close = line.find(']');
        if (close == std::string::npos) return entry;
        entry.kind = Entry::Kind::Section;
        entry.name = Trim(line.substr(1, close - 1));
        return entry;
    }
    size_t eq = line.find('=');
    if (eq == std::string::npos || Trim(line.substr(0, eq)).empty()) return entry;
    entry.kind = Entry::Kind::Pair;
    entry.name = Trim(line.substr(0, eq));
    entry.value = Trim(line.substr(eq + 1));
    return entry;
}

// Calls `visit(index, entry, inSection)` for every line; inSection tells whether the line lies in
// a block of `section`.
template <class F>
void Walk(const std::vector<TextLine>& lines, const std::string& section, F&& visit) {
    const std::string wanted = AsciiLower(Trim(section));
    bool inSection = false;
    for (size_t i = 0; i < lines.size(); ++i) {
        Entry entry = Classify(lines[i].text);
        if (entry.kind == Entry::Kind::Section) inSection = AsciiLower(entry.name) == wanted;
        if (!visit(i, entry, inSection)) return;
    }
}

bool Writable(const std::string& section, const std::string& key, const std::string& value) {
    auto breaks = [](const std::string& s) { return s.find_first_of("\r\n") != std::string::npos; };
    std::string s = Trim(section), k = Trim(key);
    if (s.empty() || k.empty() || breaks(s) || breaks(k) || breaks(value)) return false;
    return s.find(']') == std::string::npos && k.find('=') == std::string::npos && k[0] != '[' &&
           k[0] != ';';
}

std::string LineEnd(const std::vector<TextLine>& lines) {
    for (const TextLine& line : lines)
        if (!line.end.empty()) return line.end;
    return "\n";
}

// Inserts `body` as a new line after line `after` (or at the start when `after` is npos).
void InsertAfter(std::vector<TextLine>& lines, size_t after, const std::string& body,
                 const std::string& end) {
    if (after != std::string::npos && lines[after].end.empty()) lines[after].end = end;
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(after + 1), TextLine{body, end});
}

}  // namespace

std::optional<std::string> IniLookup(const std::string& text, const std::string& section,
                                     const std::string& key) {
    std::optional<std::string> found;
    const std::string wanted = AsciiLower(Trim(key));
    Walk(SplitIniLines(text), section, [&](size_t, const Entry& entry, bool inSection) {
        if (inSection && entry.kind == Entry::Kind::Pair && AsciiLower(entry.name) == wanted)
            found = entry.value;
        return !found;
    });
    return found;
}

bool IniHasSection(const std::string& text, const std::string& section) {
    bool found = false;
    Walk(SplitIniLines(text), section, [&](size_t, const Entry& entry, bool inSection) {
        found = inSection && entry.kind == Entry::Kind::Section;
        return !found;
    });
    return found;
}

std::vector<std::string> IniKeys(const std::string& text, const std::string& section) {
    std::vector<std::string> keys, lower;
    Walk(SplitIniLines(text), section, [&](size_t, const Entry& entry, bool inSection) {
        if (!inSection || entry.kind != Entry::Kind::Pair) return true;
        std::string name = AsciiLower(entry.name);
        for (const std::string& seen : lower)
            if (seen == name) return true;
        lower.push_back(name);
        keys.push_back(entry.name);
        return true;
    });
    return keys;
}

std::optional<std::string> IniAssign(const std::string& text, const std::string& section,
                                     const std::string& key, const std::string& value) {
    if (!Writable(section, key, value)) return std::nullopt;
    std::vector<TextLine> lines = SplitIniLines(text);
    const std::string wanted = AsciiLower(Trim(key));
    size_t pair = std::string::npos, header = std::string::npos, blockLast = std::string::npos;
    bool firstBlockOpen = false;
    Walk(lines, section, [&](size_t i, const Entry& entry, bool inSection) {
        if (entry.kind == Entry::Kind::Section) {
            firstBlockOpen = inSection && header == std::string::npos;
            if (firstBlockOpen) header = blockLast = i;
        } else if (firstBlockOpen && entry.kind == Entry::Kind::Pair) {
            blockLast = i;
        }
        if (inSection && entry.kind == Entry::Kind::Pair && AsciiLower(entry.name) == wanted)
            pair = i;
        return pair == std::string::npos;
    });
    const std::string end = LineEnd(lines);
    if (pair != std::string::npos) {
        std::string& body = lines[pair].text;
        std::string keyPart = body.substr(0, body.find('='));
        keyPart.erase(keyPart.find_last_not_of(kBlanks) + 1);
        body = keyPart + "=" + value;
    } else if (header != std::string::npos) {
        InsertAfter(lines, blockLast, Trim(key) + "=" + value, end);
    } else {
        size_t last = lines.empty() ? std::string::npos : lines.size() - 1;
        if (last != std::string::npos && !Trim(lines[last].text).empty()) {
            InsertAfter(lines, last, "", end);
            ++last;
        }
        InsertAfter(lines, last, "[" + Trim(section) + "]", end);
        InsertAfter(lines, last + 1, Trim(key) + "=" + value, end);
    }
    return Join(lines);
}

}  // namespace platform::detail
