#include <dirent.h>

#include <memory>

#include "platform/files.h"

namespace platform {
namespace {

char FoldAscii(char c, bool fold) {
    return fold && c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Length of the UTF-8 character starting at `pos` (1 for a stray byte), so that "?" stands for
// one character of a name and not for one byte of it.
std::size_t CharLength(const std::string& text, std::size_t pos) {
    std::size_t length = 1;
    while (pos + length < text.size() &&
           (static_cast<unsigned char>(text[pos + length]) & 0xC0) == 0x80)
        ++length;
    return length;
}

// Greedy matching with a single back-tracking point (the last "*"): linear in practice and never
// exponential, whatever the pattern.
bool MatchPlain(const std::string& name, const std::string& pattern, bool fold) {
    std::size_t n = 0, p = 0;
    std::size_t starP = std::string::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (p < pattern.size() && pattern[p] == '?') {
            n += CharLength(name, n);
            ++p;
        } else if (p < pattern.size() && FoldAscii(pattern[p], fold) == FoldAscii(name[n], fold)) {
            ++n;
            ++p;
        } else if (starP != std::string::npos) {
            p = starP + 1;
            starN += CharLength(name, starN);
            n = starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

}  // namespace

bool WildcardMatch(const std::string& name, const std::string& pattern, bool caseInsensitive) {
    if (MatchPlain(name, pattern, caseInsensitive)) return true;
    // As on the system the program was written for, "name.*" also finds a name without any
    // extension, and "*.*" finds every name.
    if (pattern.size() >= 2 && pattern.compare(pattern.size() - 2, 2, ".*") == 0 &&
        name.find('.') == std::string::npos)
        return MatchPlain(name, pattern.substr(0, pattern.size() - 2), caseInsensitive);
    return false;
}

std::string FindFirstMatch(const std::string& folder, const std::string& pattern,
                           bool caseInsensitive) {
    std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(folder.c_str()), closedir);
    if (!dir) return {};
    std::string best;
    bool found = false;
    while (const dirent* entry = readdir(dir.get())) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..") continue;
        if (found && name >= best) continue;
        if (!WildcardMatch(name, pattern, caseInsensitive)) continue;
        best = name;
        found = true;
    }
    return best;
}

}  // namespace platform
