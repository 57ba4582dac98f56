#pragma once
// Running installed programs and independent tools from the tool tests.
#include <string>
#include <vector>

#include "support/Shell.h"

namespace tooltest {

// The exit status (-1 when the command did not end normally) and the output, standard error
// included.
using CommandResult = testing_support::ProgramRun;

// Runs the program with its arguments (no shell word splitting: each argument is quoted), in
// `folder` when it is given.
CommandResult Run(const std::vector<std::string>& argv, const std::string& folder = {});

// True when `program` can be found on PATH.
bool OnPath(const std::string& program);

}  // namespace tooltest
