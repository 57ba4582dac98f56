#include "encoder/StageFiles.h"

#include <stdexcept>

#include "platform/files.h"
#include "platform/paths.h"

std::string FindFirstVobName(const std::string& inputDir) {
    return platform::FindFirstMatch(inputDir, "VTS_*_*.VOB", true);
}

std::string PathInFolder(const std::string& dir, const std::string& name) {
    const std::string exact = dir + platform::kPathDelim + name;
    if (name.find_first_of("*?") != std::string::npos || platform::FileExists(exact)) return exact;
    const std::string found = platform::FindFirstMatch(dir, name, true);
    return dir + platform::kPathDelim + (found.empty() ? name : found);
}

std::string FirstVobPath(TVobInfo& info, const std::string& inputDir,
                         const std::string& notFoundMessage) {
    if (info.FirstVob.empty()) info.FirstVob = FindFirstVobName(inputDir);
    if (info.FirstVob.empty()) throw std::runtime_error(notFoundMessage);
    return PathInFolder(inputDir, info.FirstVob);
}
