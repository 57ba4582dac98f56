#include "encoder/Runner.h"

#include "jobs/ProgramValues.h"
#include "platform/debug_channel.h"
#include "platform/process.h"

namespace {

platform::StartOptions OptionsFor(bool minimised, bool debugChannel) {
    platform::StartOptions options;
    options.show =
        minimised ? platform::ShowState::MinimizedNoActivate : platform::ShowState::Normal;
    options.priority = minimised ? platform::PriorityClass::Idle : platform::PriorityClass::Normal;
    options.debugChannel = debugChannel;
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

}  // namespace

bool RunProgram(const std::string& commandLine, bool minimised, bool wait) {
    if (wait) RaiseIfAborted();
    platform::Process process;
    if (!process.Start(commandLine, OptionsFor(minimised, false))) return false;
    if (!wait) return true;  // the process is reaped in the background when it ends
    Publish(process);
    process.Wait();
    RaiseIfAborted();
    return true;
}

bool RunCapturingDebugOutput(const std::string& commandLine,
                             const std::function<void(const std::string&)>& onString) {
    RaiseIfAborted();
    platform::Process process;
    platform::DebugChannel channel;
    if (!process.Start(commandLine, OptionsFor(true, true), nullptr, &channel)) return false;
    Publish(process);
    bool clean = false;
    try {
        clean = channel.ReadAll(onString);
    } catch (...) {
        process.Terminate();
        process.Wait();
        throw;
    }
    if (!clean) process.Terminate();
    process.Wait();
    RaiseIfAborted();
    if (!clean) throw std::runtime_error("The debug output of " + commandLine + " is damaged.");
    return true;
}
