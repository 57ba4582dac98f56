// Command lines as one string: splitting by the Windows rules, quoting for them, and reading this
// process's own line back.
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "platform/process.h"

namespace platform {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// The program name knows no backslash rules, so a path ending in a backslash keeps it; a quote
// only switches quoting on or off and is dropped.
size_t TakeProgramName(const std::string& line, size_t pos, std::string& name) {
    bool quoted = false;
    for (; pos < line.size(); ++pos) {
        char c = line[pos];
        if (c == '"') {
            quoted = !quoted;
        } else if (!quoted && IsBlank(c)) {
            break;
        } else {
            name += c;
        }
    }
    return pos;
}

// One argument from `pos`; returns the position after it.
size_t TakeArgument(const std::string& line, size_t pos, std::string& arg) {
    bool quoted = false;
    while (pos < line.size()) {
        size_t slashes = 0;
        while (pos < line.size() && line[pos] == '\\') ++slashes, ++pos;
        if (pos < line.size() && line[pos] == '"') {
            arg.append(slashes / 2, '\\');
            if (slashes % 2 == 1) {
                arg += '"';
                ++pos;
            } else if (quoted && pos + 1 < line.size() && line[pos + 1] == '"') {
                arg += '"';  // "" within quotes; quoting goes on
                pos += 2;
            } else {
                quoted = !quoted;
                ++pos;
            }
            continue;
        }
        arg.append(slashes, '\\');
        if (pos >= line.size() || (!quoted && IsBlank(line[pos]))) break;
        arg += line[pos++];
    }
    return pos;
}

size_t SkipBlanks(const std::string& line, size_t pos) {
    while (pos < line.size() && IsBlank(line[pos])) ++pos;
    return pos;
}

// The program name cannot carry a quote at all; anything else survives being put in quotes.
std::string QuoteProgramName(const std::string& name) {
    if (!name.empty() && name.find_first_of(" \t\"") == std::string::npos) return name;
    std::string out = "\"";
    for (char c : name)
        if (c != '"') out += c;
    return out + "\"";
}

std::vector<std::string> OwnArguments() {
    std::ifstream in("/proc/self/cmdline", std::ios::binary);
    std::string raw((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::string> args;
    size_t start = 0;
    while (start < raw.size()) {
        size_t end = raw.find('\0', start);
        if (end == std::string::npos) end = raw.size();
        args.push_back(raw.substr(start, end - start));
        start = end + 1;
    }
    return args;
}

// The program name may have been resolved to another spelling; the arguments must agree.
bool SameArguments(const std::vector<std::string>& a, const std::vector<std::string>& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 1; i < a.size(); ++i)
        if (a[i] != b[i]) return false;
    return true;
}

}  // namespace

std::vector<std::string> SplitCommandLine(const std::string& line) {
    std::vector<std::string> args;
    size_t pos = SkipBlanks(line, 0);
    if (pos >= line.size()) return args;
    args.emplace_back();
    pos = SkipBlanks(line, TakeProgramName(line, pos, args.back()));
    while (pos < line.size()) {
        args.emplace_back();
        pos = SkipBlanks(line, TakeArgument(line, pos, args.back()));
    }
    return args;
}

std::string QuoteArgument(const std::string& arg) {
    if (!arg.empty() && arg.find_first_of(" \t\"") == std::string::npos) return arg;
    std::string out = "\"";
    size_t slashes = 0;
    for (char c : arg) {
        if (c == '\\') {
            ++slashes;
            continue;
        }
        // Backslashes count only before a quote: there they are doubled, and one more escapes it.
        out.append(c == '"' ? 2 * slashes + 1 : slashes, '\\');
        out += c;
        slashes = 0;
    }
    out.append(2 * slashes, '\\');  // before the closing quote
    return out + "\"";
}

std::string CommandLine() {
    std::vector<std::string> own = OwnArguments();
    // A program started some other way than through Process::Start inherits its parent's line;
    // it is ours only when it splits into the arguments we were really given.
    const char* line = std::getenv("MOVREX_COMMAND_LINE");
    if (line && (own.empty() || SameArguments(SplitCommandLine(line), own))) return line;
    std::string joined;
    for (size_t i = 0; i < own.size(); ++i) {
        if (i > 0) joined += ' ';
        joined += i == 0 ? QuoteProgramName(own[i]) : QuoteArgument(own[i]);
    }
    return joined;
}

}  // namespace platform
