#include "Commands.h"

#include <sys/wait.h>

#include <cstdio>

namespace tooltest {
namespace {

std::string Quoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

}  // namespace

CommandResult Run(const std::vector<std::string>& argv, const std::string& folder) {
    std::string command = folder.empty() ? "" : "cd " + Quoted(folder) + " && ";
    for (const std::string& arg : argv) command += Quoted(arg) + " ";
    command += "2>&1";
    CommandResult result;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return result;
    char buffer[4096];
    for (size_t got; (got = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        result.output.append(buffer, got);
    const int status = pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

bool OnPath(const std::string& program) {
    return Run({"sh", "-c", "command -v " + Quoted(program)}).status == 0;
}

}  // namespace tooltest
