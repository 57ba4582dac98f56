#include "encoder/Runner.h"

#include <unistd.h>

#include <algorithm>
#include <memory>
#include <sstream>

#include "jobs/ProgramValues.h"
#include "platform/debug_channel.h"
#include "platform/process.h"
#include "platform/process_output.h"

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
    options.captureOutput = static_cast<bool>(how.OnProgress);
    return options;
}

// A line the program printed besides its progress goes where it went before the runner read it.
void PassOn(const std::string& line) {
    const std::string text = line + "\n";
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t wrote = write(STDOUT_FILENO, text.data() + done, text.size() - done);
        if (wrote <= 0) return;
        done += static_cast<size_t>(wrote);
    }
}

// Reads the program's standard output when the run follows its progress. A reader that cannot
// be made ends the program.
std::unique_ptr<platform::OutputLines> ReadProgress(platform::Process& process,
                                                    const TProgramRun& how) {
    if (!how.OnProgress) return nullptr;
    const auto onProgress = how.OnProgress;
    try {
        return std::make_unique<platform::OutputLines>(
            process.TakeOutput(), [onProgress](const std::string& line) {
                if (const auto progress = ParseProgressLine(line))
                    onProgress(progress->Done, progress->Total);
                else
                    PassOn(line);
            });
    } catch (...) {
        process.Terminate();
        process.Wait();
        throw;
    }
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

std::optional<TToolProgress> ParseProgressLine(const std::string& line) {
    std::istringstream in(line);
    std::string word, done, total, rest;
    if (!(in >> word >> done >> total) || word != "progress" || in >> rest) return std::nullopt;
    const auto number = [](const std::string& digits) -> std::optional<int64_t> {
        if (digits.size() > 18 || digits.find_first_not_of("0123456789") != std::string::npos)
            return std::nullopt;
        return std::stoll(digits);
    };
    const auto d = number(done);
    const auto t = number(total);
    if (!d || !t) return std::nullopt;
    return TToolProgress{std::min(*d, *t), *t};
}

bool RunProgram(const std::string& commandLine, const TProgramRun& how) {
    const bool capture = static_cast<bool>(how.OnDebugString);
    const bool wait = how.Wait || capture || how.OnProgress;
    if (wait) RaiseIfAborted();
    platform::Process process;
    platform::DebugChannel channel;
    if (!process.Start(commandLine, OptionsFor(how), nullptr, capture ? &channel : nullptr))
        return false;
    if (!wait) return true;  // the process is reaped in the background when it ends
    Publish(process);
    const auto output = ReadProgress(process, how);
    const bool clean = !capture || ReadDebugStrings(process, channel, how);
    process.Wait();
    if (output) output->Finish();
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
