#include "encoder/Runner.h"

#include <thread>
#include <utility>

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

// Once the program is reaped its id may be reused; "Abort" must not end a stranger.
void Unpublish(platform::Process& process) {
    platform::ProcessId id = process.Id();
    RunState().ProcessHandle.compare_exchange_strong(id, 0);
}

// A program that is not waited for is reaped on a thread of its own, so it leaves no zombie.
void Release(platform::Process process) {
    std::thread([p = std::move(process)]() mutable { p.Wait(); }).detach();
}

}  // namespace

bool RunProgram(const std::string& commandLine, bool minimised, bool wait) {
    if (wait) RaiseIfAborted();
    platform::Process process;
    if (!process.Start(commandLine, OptionsFor(minimised, false))) return false;
    if (!wait) {
        Release(std::move(process));
        return true;
    }
    Publish(process);
    process.Wait();
    Unpublish(process);
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
        Unpublish(process);
        throw;
    }
    if (!clean) process.Terminate();
    process.Wait();
    Unpublish(process);
    RaiseIfAborted();
    if (!clean) throw std::runtime_error("The debug output of " + commandLine + " is damaged.");
    return true;
}
