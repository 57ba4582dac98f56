#include "PlayerArgs.h"

#include <charconv>

namespace player {

namespace {

// A frame number: decimal digits only, within int.
std::optional<int> FrameNumber(const std::string& text) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, failure] = std::from_chars(text.data(), end, value);
    if (text.empty() || text[0] == '-' || text[0] == '+' || failure != std::errc() || stop != end)
        return std::nullopt;
    return value;
}

}  // namespace

std::optional<PlayerArgs> ParsePlayerArgs(const std::vector<std::string>& args,
                                          std::string& error) {
    PlayerArgs parsed;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            parsed.help = true;
            return parsed;
        }
        const bool takesValue = arg == "--frame" || arg == "--save";
        if (takesValue && i + 1 == args.size()) {
            error = arg + " needs a value";
            return std::nullopt;
        }
        if (arg == "--frame") {
            const auto frame = FrameNumber(args[++i]);
            if (!frame) {
                error = "--frame needs a frame number (0 or more), not \"" + args[i] + "\"";
                return std::nullopt;
            }
            parsed.frame = *frame;
        } else if (arg == "--save") {
            parsed.savePath = args[++i];
            if (parsed.savePath.empty()) {
                error = "--save needs a file name";
                return std::nullopt;
            }
        } else if (arg.size() > 1 && arg[0] == '-') {
            error = "unknown option " + arg;
            return std::nullopt;
        } else if (!parsed.script.empty()) {
            error = "one script at a time: " + parsed.script + " and " + arg;
            return std::nullopt;
        } else {
            parsed.script = arg;
        }
    }
    if (parsed.script.empty()) {
        error = "no script given";
        return std::nullopt;
    }
    return parsed;
}

}  // namespace player
