// Test child: writes what it was given to the file named by PROC_ECHO_OUT, as fields ended by a
// NUL: its CommandLine(), MOVREX_SHOW_STATE, MOVREX_DEBUG_FD, its open descriptors above 2 (comma
// separated), then argv[1], argv[2], ...
#include <dirent.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "platform/process.h"

namespace {

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string OpenDescriptors() {
    std::string list;
    DIR* dir = opendir("/proc/self/fd");
    if (!dir) return "?";
    int own = dirfd(dir);
    while (dirent* entry = readdir(dir)) {
        if (entry->d_name[0] == '.') continue;
        int fd = std::atoi(entry->d_name);
        if (fd <= 2 || fd == own) continue;
        list += (list.empty() ? "" : ",") + std::to_string(fd);
    }
    closedir(dir);
    return list;
}

}  // namespace

int main(int argc, char** argv) {
    std::string out = Env("PROC_ECHO_OUT");
    if (out.empty()) return 2;
    std::string text = platform::CommandLine() + '\0' + Env("MOVREX_SHOW_STATE") + '\0' +
                       Env("MOVREX_DEBUG_FD") + '\0' + OpenDescriptors() + '\0';
    for (int i = 1; i < argc; ++i) text += std::string(argv[i]) + '\0';
    std::ofstream(out, std::ios::binary) << text;
    return 0;
}
