#pragma once
// The one place that starts external programs. Both forms publish the running program in
// RunState().ProcessHandle so that "Abort" can end it, and both turn an abort into the error
// "Job aborted" once the program is gone. Exit codes are never read: callers judge success by
// the files a program leaves.
#include <functional>
#include <stdexcept>
#include <string>

class TJobAborted : public std::runtime_error {
  public:
    TJobAborted() : std::runtime_error("Job aborted") {}
};

// Starts `commandLine` (program first, quoting applied). Minimised: no window, idle priority;
// otherwise shown normally at normal priority. With `wait` the call blocks until the program has
// ended and raises TJobAborted when an abort was requested; an abort requested before the start
// raises it without starting anything. Returns false when the program could not be started.
bool RunProgram(const std::string& commandLine, bool minimised, bool wait);

// Starts `commandLine` minimised at idle priority with the debug-string channel and hands every
// string to `onString` until the program and everything it started that holds the channel have
// ended. Raises TJobAborted as RunProgram does; an exception from `onString` or a damaged
// channel ends the program and raises an error.
bool RunCapturingDebugOutput(const std::string& commandLine,
                             const std::function<void(const std::string&)>& onString);
