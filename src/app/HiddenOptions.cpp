#include "app/MainModel.h"
#include "platform/files.h"

std::optional<std::string> HiddenOptionsCommandLine(const std::string& programDir,
                                                    const std::string& inputDir) {
    const std::string program = programDir + "/Hidden Options.exe";
    if (!platform::FileExists(program)) return std::nullopt;
    // The short form of the name has no blank; the quotes keep it one argument all the same.
    std::string line = "\"" + platform::ShortPathName(program) + "\"";
    if (!inputDir.empty()) line += " " + inputDir;
    return line;
}
