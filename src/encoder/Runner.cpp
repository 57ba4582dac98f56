#include "encoder/Runner.h"

#include "jobs/ProgramValues.h"
#include "platform/debug_channel.h"
#include "platform/process.h"

namespace {

platform::StartOptions OptionsFor(const TProgramRun& how) {
    platform::StartOptions options;
    options.show =
        how.Minimised ? platform::ShowState::MinimizedNoActivate : platform::ShowState::Normal;
    options.priority =
        how.Minimised ? platform::PriorityClass::Idle : platform::PriorityClass::Normal;
    options.debugChannel = static_cast<bool>(how.OnDebugString);
    // "Abort" must end the program and whatever it started, even when this process runs inside
    // a tree started by another.
    options.ownTree = true;
    return options;
}

void RaiseIfAborted() {
    if (RunState().AbortRequested.load()) throw TJobAborted();
}

// Publishes the started program for "Abort". The window sets the flag before it reads the handle
// and this side publishes the handle before it reads the flag, so one of the two always sees the
// other: an abort that found no program to end is caught here.
void Publish(platform::Process& process) {
    RunState().ProcessHandle = process.Id();
    if (RunState().AbortRequested.load()) process.Terminate();
}

// Hands the channel's strings on until every holder has ended; false for a damaged channel, which
// ends the program.
bool ReadDebugStrings(platform::Process& process, platform::DebugChannel& channel,
                      const TProgramRun& how) {
    bool clean = false;
    try {
        clean = channel.ReadAll(how.OnDebugString);
    } catch (...) {
        process.Terminate();
        process.Wait();
        throw;
    }
    if (!clean) process.Terminate();
    return clean;
}

}  // namespace

bool RunProgram(const std::string& commandLine, const TProgramRun& how) {
    const bool capture = static_cast<bool>(how.OnDebugString);
    const bool wait = how.Wait || capture;
    if (wait) RaiseIfAborted();
    platform::Process process;
    platform::DebugChannel channel;
    if (!process.Start(commandLine, OptionsFor(how), nullptr, capture ? &channel : nullptr))
        return false;
    if (!wait) return true;  // the process is reaped in the background when it ends
    Publish(process);
    const bool clean = !capture || ReadDebugStrings(process, channel, how);
    process.Wait();
    RaiseIfAborted();
    if (!clean) throw std::runtime_error("The debug output of " + commandLine + " is damaged.");
    return true;
}

bool RunProgram(const std::string& commandLine, bool minimised, bool wait) {
    TProgramRun how;
    how.Minimised = minimised;
    how.Wait = wait;
    return RunProgram(commandLine, how);
}

bool RunCapturingDebugOutput(const std::string& commandLine,
                             const std::function<void(const std::string&)>& onString) {
    TProgramRun how;
    how.OnDebugString = onString;
    return RunProgram(commandLine, how);
}
