// rar.exe a -m5 -ep "archive" "file": adds files to a RAR archive, creating it when it is missing.
#include <cstdio>
#include <exception>

#include "RarCommand.h"
#include "platform/process.h"

int main() {
    std::vector<std::string> args = platform::SplitCommandLine(platform::CommandLine());
    if (!args.empty()) args.erase(args.begin());
    std::string error;
    const auto command = archiver::ParseRarCommand(args, error);
    if (!command) {
        std::fprintf(stderr, "rar.exe: %s\n", error.c_str());
        return 2;
    }
    try {
        archiver::UpdateArchive(
            command->archive, command->files, [](uint64_t done, uint64_t total) {
                std::printf("progress %llu %llu\n", static_cast<unsigned long long>(done),
                            static_cast<unsigned long long>(total));
                std::fflush(stdout);
            });
    } catch (const std::exception& e) {
        std::fprintf(stderr, "rar.exe: %s\n", e.what());
        return 1;
    }
    return 0;
}
