#include "support/Shell.h"

#include <sys/wait.h>

#include <cstdio>

namespace testing_support {

ProgramRun Shell(const std::string& command, bool withErrors) {
    ProgramRun run;
    FILE* pipe = popen((command + (withErrors ? " 2>&1" : "")).c_str(), "r");
    if (!pipe) return run;
    char buffer[65536];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) run.output.append(buffer, n);
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

std::string Quoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

}  // namespace testing_support
