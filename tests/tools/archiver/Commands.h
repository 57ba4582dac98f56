#pragma once
// Running installed programs and independent tools from the tool tests.
#include <string>
#include <vector>

namespace tooltest {

struct CommandResult {
    int status = -1;     // exit status; -1 when the command did not end normally
    std::string output;  // standard output and standard error together
};

// Runs the program with its arguments (no shell word splitting: each argument is quoted), in
// `folder` when it is given.
CommandResult Run(const std::vector<std::string>& argv, const std::string& folder = {});

// True when `program` can be found on PATH.
bool OnPath(const std::string& program);

}  // namespace tooltest
