#pragma once
// The fork and exec behind Process::Start, kept apart because the child side may only make
// async-signal-safe calls: everything it needs is prepared before the fork.
#include <string>
#include <vector>

#include "platform/process.h"

namespace platform::detail {

struct SpawnRequest {
    std::string path;               // the program file
    std::vector<std::string> argv;  // argv[0] included
    std::vector<std::string> env;   // "NAME=value" entries
    bool idle = false;              // nice 19 and the idle scheduling class
    int inheritFd = -1;             // the one descriptor (above 2) the child inherits, or -1
    int outputFd = -1;              // becomes the child's standard output, unless -1
    // With newGroup the child leads a new process group, and the digits at the end of env entry
    // `groupEntry` (when not -1) are overwritten with its id, the new group's id.
    bool newGroup = true;
    int groupEntry = -1;
};

// Starts the program, with every descriptor above 2 closed at exec except `inheritFd`. Returns the
// child's id once it runs the program; 0 when it could not be started, with the errno value in
// `error` (a child that failed to exec is reaped).
ProcessId Spawn(const SpawnRequest& request, int& error);

// This process's environment without the entries named in `drop` (names without "=").
std::vector<std::string> EnvironmentWithout(const std::vector<std::string>& drop);

}  // namespace platform::detail
