#pragma once
// Starting helper programs. A command line is one string, program first, split into arguments by
// the Windows quoting rules (SplitCommandLine). The child gets those arguments as argv and the
// whole line in the environment (MOVREX_COMMAND_LINE), which it reads back with CommandLine();
// the helpers parse bracketed arguments with blanks from it. A bare program name (no separator)
// is looked up in the system folder, then in PATH.
//
// Every child leads a process group of its own, so terminating it ends its whole tree.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// Show states as the program names them; children never get a window of their own here, the
// value is passed on in MOVREX_SHOW_STATE for programs that show one (the preview player).
enum class ShowState : int { Hidden = 0, Normal = 1, MinimizedNoActivate = 7 };

// Idle: the lowest priority (nice 19) and the idle scheduling class.
enum class PriorityClass { Normal, Idle };

using ProcessId = int32_t;  // 0: none

// Splits a command line by the Windows rules: blanks and tabs separate arguments outside quotes;
// 2n backslashes before a quote give n backslashes and the quote toggles quoting; 2n+1 give n
// backslashes and a literal quote; backslashes elsewhere are literal; "" inside quotes is a
// literal quote. The program name (first argument) is taken up to the next blank, or within its
// quotes, without backslash rules. An unbalanced quote runs to the end of the line.
std::vector<std::string> SplitCommandLine(const std::string& line);

// Quotes one argument so that SplitCommandLine gives it back unchanged.
std::string QuoteArgument(const std::string& arg);

// The full path of a program: a name with a separator is taken as it is (relative to the current
// folder); a bare name is searched in the system folder, then in PATH. Empty when not found.
std::string ResolveProgram(const std::string& name);

// This process's own command line: MOVREX_COMMAND_LINE when set, else argv joined with
// QuoteArgument.
std::string CommandLine();

struct StartOptions {
    ShowState show = ShowState::Normal;
    PriorityClass priority = PriorityClass::Normal;
    bool debugChannel = false;  // give the child the debug-string channel (see debug_channel.h)
};

class DebugChannel;

// A started child. Not copyable; destroying it neither waits for nor kills the child, but reaps
// it if it has already ended.
class Process {
  public:
    Process() = default;
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    Process(Process&& other) noexcept;
    Process& operator=(Process&& other) noexcept;
    ~Process();

    // Starts the command line. Returns false (with `error` set when given) when the line is
    // empty, the program is not found or cannot be executed; nothing is left running then.
    // With options.debugChannel, `channel` must be given and receives the reading end.
    bool Start(const std::string& commandLine, const StartOptions& options,
               std::string* error = nullptr, DebugChannel* channel = nullptr);

    ProcessId Id() const { return pid_; }
    bool Running();
    // Waits without time limit for the end; returns the exit code (128 + signal when killed).
    int Wait();
    // Waits at most `ms`; nullopt when still running.
    std::optional<int> WaitFor(int ms);
    // Ends the child and everything in its process group.
    void Terminate();

  private:
    ProcessId pid_ = 0;
    bool reaped_ = false;
    int exitCode_ = 0;
};

// Ends the process group led by `pid` (the whole tree of a child started by Process::Start).
// Safe to call for a process that has ended. Returns false when nothing was signalled.
bool TerminateProcessTree(ProcessId pid);

}  // namespace platform
