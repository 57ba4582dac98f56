// Child program of the single-instance tests.
//   sys_lock_probe NAME         tries the lock, prints "acquired" or "refused", ends
//   sys_lock_probe NAME hold    the same, but keeps the lock until its input ends
//   sys_lock_probe NAME idle    takes no lock, prints "ready", waits until its input ends
#include <unistd.h>

#include <cstdio>
#include <string>

#include "platform/system.h"

namespace {

void WaitForEndOfInput() {
    char c;
    while (read(STDIN_FILENO, &c, 1) > 0) {
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    const std::string mode = argc > 2 ? argv[2] : "";
    if (mode == "idle") {
        std::puts("ready");
        std::fflush(stdout);
        WaitForEndOfInput();
        return 0;
    }
    platform::SingleInstance lock(argv[1]);
    std::puts(lock.Acquired() ? "acquired" : "refused");
    std::fflush(stdout);
    if (mode == "hold" && lock.Acquired()) WaitForEndOfInput();
    return lock.Acquired() ? 0 : 1;
}
