#pragma once
// The one place that starts external programs. Every start publishes the running program in
// RunState().ProcessHandle so that "Abort" can end it, and turns an abort into the error
// "Job aborted" once the program is gone. Exit codes are never read: callers judge success by
// the files a program leaves.
#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>

class TJobAborted : public std::runtime_error {
  public:
    TJobAborted() : std::runtime_error("Job aborted") {}
};

// How a program is started and what the runner does while it runs. Whatever else a run may need
// to follow (another side channel of the program) becomes one more field here.
struct TProgramRun {
    // No window, idle priority; otherwise shown normally at normal priority.
    bool Minimised = true;
    // Blocks until the program has ended and raises TJobAborted when an abort was requested; an
    // abort requested before the start raises it without starting anything. Without waiting the
    // call returns once the program has started, and the program is not published for "Abort".
    bool Wait = true;
    // With a consumer, the program gets the debug-string channel, and every string goes to the
    // consumer until the program and everything it started that holds the channel have ended
    // (the run always waits then). An exception from the consumer or a damaged channel ends the
    // program and raises an error.
    std::function<void(const std::string&)> OnDebugString;
    // With a consumer, the program's standard output is read: every "progress <done> <total>"
    // line goes to the consumer (on a thread of the runner's, one line after another), every
    // other line to this program's standard output as before (the run always waits then).
    std::function<void(int64_t done, int64_t total)> OnProgress;
};

// A helper program's progress line: "progress", how much is done and the whole, as whole
// numbers; done is at most the whole. nullopt for any other line.
struct TToolProgress {
    int64_t Done = 0;
    int64_t Total = 0;
};
std::optional<TToolProgress> ParseProgressLine(const std::string& line);

// Starts `commandLine` (program first, quoting applied) as `how` says. Returns false when the
// program could not be started.
bool RunProgram(const std::string& commandLine, const TProgramRun& how);

// The two forms the stages use: a program started minimised or shown, waited for or not; and
// one started minimised under debug capture.
bool RunProgram(const std::string& commandLine, bool minimised, bool wait);
bool RunCapturingDebugOutput(const std::string& commandLine,
                             const std::function<void(const std::string&)>& onString);
