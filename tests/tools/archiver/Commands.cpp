#include "Commands.h"

#include "support/Shell.h"

namespace tooltest {
using testing_support::Quoted;

CommandResult Run(const std::vector<std::string>& argv, const std::string& folder) {
    std::string command = folder.empty() ? "" : "cd " + Quoted(folder) + " && ";
    for (const std::string& arg : argv) command += Quoted(arg) + " ";
    return testing_support::Shell(command);
}

bool OnPath(const std::string& program) {
    return Run({"sh", "-c", "command -v " + Quoted(program)}).status == 0;
}

}  // namespace tooltest
