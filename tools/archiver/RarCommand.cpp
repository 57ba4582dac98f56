#include "RarCommand.h"

namespace archiver {
namespace {

bool KnownSwitch(const std::string& arg, bool& bareNames) {
    if (arg == "-ep") return bareNames = true;
    if (arg == "-y") return true;
    return arg.size() == 3 && arg.compare(0, 2, "-m") == 0 && arg[2] >= '0' && arg[2] <= '5';
}

// The name inside the archive: the bare name with -ep, else the path without leading "/" and
// "./" pieces. Empty when there is no name or the path climbs out ("..").
std::string EntryName(const std::string& path, bool bareNames) {
    if (bareNames) {
        const size_t slash = path.find_last_of('/');
        return slash == std::string::npos ? path : path.substr(slash + 1);
    }
    std::string name;
    for (size_t start = 0; start <= path.size();) {
        size_t end = path.find('/', start);
        if (end == std::string::npos) end = path.size();
        const std::string piece = path.substr(start, end - start);
        if (piece == "..") return {};
        if (!piece.empty() && piece != ".") name += (name.empty() ? "" : "/") + piece;
        start = end + 1;
    }
    return name;
}

}  // namespace

std::optional<RarCommand> ParseRarCommand(const std::vector<std::string>& args,
                                          std::string& error) {
    if (args.empty() || args[0] != "a") {
        error = "only the command \"a\" (add files to an archive) is known";
        return std::nullopt;
    }
    bool bareNames = false;
    bool switches = true;
    RarCommand command;
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (switches && arg == "--") {
            switches = false;
        } else if (switches && arg.size() > 1 && arg[0] == '-') {
            if (!KnownSwitch(arg, bareNames)) {
                error = "unknown switch " + arg;
                return std::nullopt;
            }
        } else if (command.archive.empty()) {
            command.archive = arg;
        } else {
            command.files.push_back({arg, EntryName(arg, bareNames)});
            if (command.files.back().name.empty()) {
                error = arg + ": no name to store it under inside the archive";
                return std::nullopt;
            }
        }
    }
    if (command.archive.empty() || command.files.empty()) {
        error = "usage: rar a [-m0..-m5] [-ep] [-y] <archive> <file>...";
        return std::nullopt;
    }
    return command;
}

}  // namespace archiver
