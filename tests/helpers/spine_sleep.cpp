// Test child: sleeps, as a long external program would.
//   spine_sleep <milliseconds> [<file>]
// With <file>, writes "started" to it first and "ended" to <file>.end after the sleep, so a test
// can tell whether it was started and whether it ran to its end.
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <thread>

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    const long ms = std::strtol(argv[1], nullptr, 10);
    if (argc > 2) std::ofstream(argv[2]) << "started";
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    if (argc > 2) std::ofstream(std::string(argv[2]) + ".end") << "ended";
    return 0;
}
