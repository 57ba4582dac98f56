#pragma once
// Starting helper programs. A command line is one string, program first, split into arguments by
// the Windows quoting rules (SplitCommandLine). The child gets those arguments as argv and the
// whole line in the environment (MOVREX_COMMAND_LINE), which it reads back with CommandLine();
// the helpers parse bracketed arguments with blanks from it. A bare program name (no separator)
// is looked up in the system folder, then in PATH.
//
// A program started from outside any such tree leads a new process group, and everything it
// starts in turn, through Process::Start or not, stays in that group (MOVREX_PROCESS_GROUP tells
// a program in the tree that it is one): terminating the first program ends the whole tree.
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
// literal quote (and quoting goes on). The program name (first argument) is taken up to the next
// blank, or within its quotes, without backslash rules. An unbalanced quote runs to the end of
// the line. Blanks before the program name are skipped; an empty or blank line gives no
// arguments.
std::vector<std::string> SplitCommandLine(const std::string& line);

// Quotes one argument (not the program name) so that SplitCommandLine gives it back unchanged.
std::string QuoteArgument(const std::string& arg);

// The full path of a program: a name with a separator is taken as it is (relative to the current
// folder), or with ".exe" appended when only that file exists; a bare name is searched in the
// system folder, then in PATH (executable files only), each time as it is and then with ".exe"
// appended. Empty when a bare name is not found.
std::string ResolveProgram(const std::string& name);

// This process's own command line: MOVREX_COMMAND_LINE when set and its arguments are this
// process's (a program started some other way may have inherited its parent's), else argv joined
// with QuoteArgument.
std::string CommandLine();

struct StartOptions {
    ShowState show = ShowState::Normal;
    PriorityClass priority = PriorityClass::Normal;
    bool debugChannel = false;  // give the child the debug-string channel (see debug_channel.h)
    // Lead a new process group even inside a started tree, for a starter that must be able to
    // end the child's whole tree on its own (the planner's runner, when the planner itself was
    // started by Process::Start).
    bool ownTree = false;
    // The child's standard output goes to a pipe whose reading end TakeOutput() hands over;
    // otherwise the child writes to this process's standard output.
    bool captureOutput = false;
};

class DebugChannel;

// A started child. Not copyable; destroying it neither waits for nor kills the child: one that
// has ended is reaped at once, one still running is reaped in the background when it ends, so
// that it never lingers as a zombie.
//
// The child leads a new process group (inside a started tree it joins the tree's group, see
// above, and terminating it then ends that child alone). It runs at idle priority when asked,
// finds MOVREX_SHOW_STATE and MOVREX_COMMAND_LINE in its environment, and holds no descriptor of
// this process but standard input, output and error, and the debug channel's writing end (the
// new one with StartOptions::debugChannel, else the one this process inherited, if any).
//
// Process ids are reused once reaped. A Process reaps only in Wait, WaitFor, Running and its
// destructor, so its id names the child (and its group) until then; after that the group id
// stays taken as long as any member lives, and TerminateProcessTree refuses an id that now names
// a process other than a child of this one. Ids handed to it must come from Process::Start.
//
// One thread uses a Process; Terminate() may also be called from another thread while the owner
// waits.
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
    // The reading end of the child's standard output (StartOptions::captureOutput), which the
    // caller owns from now on; -1 when there is none or it was taken already.
    int TakeOutput();
    bool Running();
    // Waits without time limit for the end; returns the exit code (128 + signal when killed),
    // -1 when nothing was started or the child was reaped elsewhere.
    int Wait();
    // Waits at most `ms` (0: just looks); nullopt when still running.
    std::optional<int> WaitFor(int ms);
    // Ends the child and everything in its process group.
    void Terminate();

  private:
    // Reaps the child if it has ended (waitpid with `flags`); true when it has.
    bool TryReap(int flags);
    // Lets go of the child (see the destructor).
    void Release();

    ProcessId pid_ = 0;
    int output_ = -1;
    bool reaped_ = false;
    int exitCode_ = 0;
};

// Ends (SIGKILL) the process group led by `pid` (the whole tree of a child started by
// Process::Start) from any thread. Safe to call for a process that has ended: an id that now
// names a process other than a child of this one is left alone. Returns false when nothing was
// signalled.
bool TerminateProcessTree(ProcessId pid);

}  // namespace platform
