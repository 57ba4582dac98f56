#pragma once
// The archiver's command line: rar a [switches] <archive> <file>...
// Switches: -m0 to -m5 (compression level, accepted; entries are always stored), -ep (store the
// bare file name without its folders), -y (accepted: nothing is ever asked).
#include <optional>
#include <string>
#include <vector>

#include "ArchiveUpdate.h"

namespace archiver {

struct RarCommand {
    std::string archive;
    std::vector<NewFile> files;
};

// Parses the arguments after the program name. nullopt with `error` set when the command is not
// "a", a switch is unknown, the archive or the files are missing, or a file's name inside the
// archive would climb out of it ("..").
std::optional<RarCommand> ParseRarCommand(const std::vector<std::string>& args, std::string& error);

}  // namespace archiver
