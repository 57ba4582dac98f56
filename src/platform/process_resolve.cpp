// Finding the program of a command line.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/paths.h"
#include "platform/process.h"

namespace platform {
namespace {

bool IsRegularFile(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool IsExecutableFile(const std::string& path) {
    return IsRegularFile(path) && access(path.c_str(), X_OK) == 0;
}

// The installation's programs carry the ".exe" of their names, and command lines may leave it off.
std::string FindIn(const std::string& dir, const std::string& name, bool mustBeExecutable) {
    for (const std::string& candidate : {name, name + ".exe"}) {
        std::string path = dir + kPathDelimStr + candidate;
        if (mustBeExecutable ? IsExecutableFile(path) : IsRegularFile(path)) return path;
    }
    return {};
}

std::string FindInSearchPath(const std::string& name) {
    const char* value = std::getenv("PATH");
    std::string list = value ? value : "";
    size_t start = 0;
    while (start <= list.size()) {
        size_t end = list.find(':', start);
        if (end == std::string::npos) end = list.size();
        // An empty entry would mean the current folder, which is never searched on purpose.
        if (end > start) {
            std::string found = FindIn(list.substr(start, end - start), name, true);
            if (!found.empty()) return found;
        }
        start = end + 1;
    }
    return {};
}

}  // namespace

std::string ResolveProgram(const std::string& name) {
    if (name.empty()) return {};
    if (name.find(kPathDelim) != std::string::npos) {
        if (!IsRegularFile(name) && IsRegularFile(name + ".exe")) return name + ".exe";
        return name;
    }
    // A file in the system folder is taken even when it cannot be run, so that a damaged
    // installation is reported as such instead of running some other program of that name.
    std::string found = FindIn(SystemFolder(), name, false);
    return found.empty() ? FindInSearchPath(name) : found;
}

}  // namespace platform
