// Test child: prints its arguments as lines on standard output, as a helper program prints its
// progress. The argument "spawn:<ms>:<file>" instead starts a program of its own that keeps
// standard output open for <ms> milliseconds and then writes "<file>.end".
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <thread>

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("spawn:", 0) != 0) {
            std::printf("%s\n", arg.c_str());
            std::fflush(stdout);
            continue;
        }
        const size_t colon = arg.find(':', 6);
        if (fork() != 0) continue;
        std::this_thread::sleep_for(std::chrono::milliseconds(std::stol(arg.substr(6, colon - 6))));
        std::ofstream(arg.substr(colon + 1) + ".end") << "ended";
        return 0;
    }
    return 0;
}
