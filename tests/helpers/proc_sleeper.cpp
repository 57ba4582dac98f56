// Test child: proc_sleeper MS [--child MS] [--pidfile FILE] [--exit CODE]
// Sleeps MS milliseconds and exits with CODE (0). With --child it first starts a copy of itself
// that sleeps the given time, and writes that grandchild's id to FILE.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "platform/process.h"

namespace {

void WritePidFile(const std::string& path, platform::ProcessId pid) {
    // Written aside and renamed, so that a reader never sees half a number.
    std::string temp = path + ".tmp";
    std::ofstream(temp) << pid << "\n";
    std::filesystem::rename(temp, path);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    int sleepMs = std::atoi(argv[1]);
    int childMs = -1;
    int exitCode = 0;
    std::string pidFile;
    for (int i = 2; i + 1 < argc; i += 2) {
        std::string option = argv[i];
        if (option == "--child") childMs = std::atoi(argv[i + 1]);
        if (option == "--pidfile") pidFile = argv[i + 1];
        if (option == "--exit") exitCode = std::atoi(argv[i + 1]);
    }
    platform::Process grandchild;
    if (childMs >= 0) {
        std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
        std::string error;
        if (!grandchild.Start(platform::QuoteArgument(self) + " " + std::to_string(childMs), {},
                              &error)) {
            std::fprintf(stderr, "proc_sleeper: %s\n", error.c_str());
            return 3;
        }
        if (!pidFile.empty()) WritePidFile(pidFile, grandchild.Id());
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(sleepMs));
    return exitCode;
}
