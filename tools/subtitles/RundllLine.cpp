#include "RundllLine.h"

namespace subtitles {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

size_t SkipBlanks(const std::string& text, size_t pos) {
    while (pos < text.size() && IsBlank(text[pos])) ++pos;
    return pos;
}

// "<Entry> <rest>" from `pos`, just after the comma.
std::optional<RundllCall> EntryAndRest(const std::string& text, size_t pos, std::string library) {
    size_t end = pos;
    while (end < text.size() && !IsBlank(text[end])) ++end;
    if (library.empty() || end == pos) return std::nullopt;
    return RundllCall{std::move(library), text.substr(pos, end - pos),
                      text.substr(SkipBlanks(text, end))};
}

}  // namespace

std::string TailAfterProgram(const std::string& commandLine) {
    size_t pos = SkipBlanks(commandLine, 0);
    for (bool quoted = false; pos < commandLine.size(); ++pos) {
        if (commandLine[pos] == '"')
            quoted = !quoted;
        else if (!quoted && IsBlank(commandLine[pos]))
            break;
    }
    return commandLine.substr(SkipBlanks(commandLine, pos));
}

std::optional<RundllCall> ParseRundllTail(
    const std::string& tail, const std::function<bool(const std::string&)>& libraryExists) {
    if (!tail.empty() && tail[0] == '"') {
        // "<library>",<Entry> or "<library>,<Entry>" with the rest after the quote.
        const size_t close = tail.find('"', 1);
        if (close == std::string::npos) return std::nullopt;
        const std::string quoted = tail.substr(1, close - 1);
        if (close + 1 < tail.size() && tail[close + 1] == ',')
            return EntryAndRest(tail, close + 2, quoted);
        const size_t comma = quoted.rfind(',');
        if (comma == std::string::npos) return std::nullopt;
        auto call = EntryAndRest(quoted, comma + 1, quoted.substr(0, comma));
        if (call) call->rest = tail.substr(SkipBlanks(tail, close + 1));
        return call;
    }
    size_t chosen = tail.find(',');
    for (size_t comma = chosen; comma != std::string::npos; comma = tail.find(',', comma + 1))
        if (libraryExists(tail.substr(0, comma))) {
            chosen = comma;
            break;
        }
    if (chosen == std::string::npos) return std::nullopt;
    return EntryAndRest(tail, chosen + 1, tail.substr(0, chosen));
}

}  // namespace subtitles
