#include "platform/process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <system_error>
#include <thread>

#include "platform/debug_channel.h"
#include "platform/process_spawn.h"

namespace platform {
namespace {

using Clock = std::chrono::steady_clock;

bool Fail(std::string* error, std::string text) {
    if (error) *error = std::move(text);
    return false;
}

std::string Reason(int error) {
    return std::system_category().message(error);
}

std::string StartError(const std::string& program, int error) {
    if (error == ENOENT || error == ENOTDIR) return program + ": not found";
    return program + ": cannot be executed: " + Reason(error);
}

constexpr const char* kGroupVariable = "MOVREX_PROCESS_GROUP";

// Whether this process belongs to a tree started by Process::Start: its group is the one the
// tree's first program was made leader of, as the environment says.
bool InStartedTree() {
    const char* value = std::getenv(kGroupVariable);
    if (!value || !*value) return false;
    char* end = nullptr;
    long group = std::strtol(value, &end, 10);
    return *end == '\0' && group == static_cast<long>(getpgrp());
}

void SetChildEnvironment(detail::SpawnRequest& request, const std::string& commandLine,
                         ShowState show) {
    std::vector<std::string> drop = {"MOVREX_COMMAND_LINE", "MOVREX_SHOW_STATE", "MOVREX_DEBUG_FD"};
    if (request.newGroup) drop.push_back(kGroupVariable);
    request.env = detail::EnvironmentWithout(drop);
    request.env.push_back("MOVREX_SHOW_STATE=" + std::to_string(static_cast<int>(show)));
    request.env.push_back("MOVREX_COMMAND_LINE=" + commandLine);
    if (request.inheritFd >= 0)
        request.env.push_back("MOVREX_DEBUG_FD=" + std::to_string(request.inheritFd));
    if (request.newGroup) {
        // Room for the child's id, written by the child itself once it has one.
        request.env.push_back(std::string(kGroupVariable) + "=" + std::string(10, '0'));
        request.groupEntry = static_cast<int>(request.env.size()) - 1;
    }
}

// A pipe for a child (its debug channel or its standard output). Both ends are close-on-exec, so
// that children started meanwhile by other threads never hold it open; the writing end sits
// above the standard descriptors even when one of those is closed here.
bool MakeChildPipe(int fds[2]) {
    if (pipe2(fds, O_CLOEXEC) != 0) return false;
    if (fds[1] > 2) return true;
    int moved = fcntl(fds[1], F_DUPFD_CLOEXEC, 3);
    int error = errno;
    close(fds[1]);
    fds[1] = moved;
    if (moved >= 0) return true;
    close(fds[0]);
    errno = error;
    return false;
}

void CloseIfOpen(int fd) {
    if (fd >= 0) close(fd);
}

void ReapInBackground(ProcessId pid) {
    try {
        std::thread([pid] {
            while (waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
            }
        }).detach();
    } catch (const std::system_error&) {
        // No thread to spare: the child stays a zombie until this program ends.
    }
}

// Waits until the process with the pidfd has ended or the deadline has passed.
void PollUntil(int pidfd, Clock::time_point deadline) {
    for (;;) {
        auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
        pollfd entry{pidfd, POLLIN, 0};
        int ready = poll(&entry, 1, left.count() > 0 ? static_cast<int>(left.count()) : 0);
        if (ready >= 0 || errno != EINTR) return;
    }
}

// Through the system call itself: the C library's declaration is not usable from C++ here.
int OpenPidfd(ProcessId pid) {
    return static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
}

}  // namespace

Process::Process(Process&& other) noexcept
    : pid_(other.pid_), output_(other.output_), reaped_(other.reaped_), exitCode_(other.exitCode_) {
    other.pid_ = 0;
    other.output_ = -1;
}

Process& Process::operator=(Process&& other) noexcept {
    if (this != &other) {
        Release();
        pid_ = other.pid_;
        output_ = other.output_;
        reaped_ = other.reaped_;
        exitCode_ = other.exitCode_;
        other.pid_ = 0;
        other.output_ = -1;
    }
    return *this;
}

Process::~Process() {
    Release();
}

bool Process::Start(const std::string& commandLine, const StartOptions& options, std::string* error,
                    DebugChannel* channel) {
    Release();
    if (commandLine.find('\0') != std::string::npos)
        return Fail(error, "command line holds a NUL character");
    std::vector<std::string> args = SplitCommandLine(commandLine);
    if (args.empty() || args[0].empty()) return Fail(error, "empty command line");
    if (options.debugChannel && !channel) return Fail(error, args[0] + ": no debug channel given");
    detail::SpawnRequest request;
    request.path = ResolveProgram(args[0]);
    if (request.path.empty()) return Fail(error, args[0] + ": not found");
    request.argv = std::move(args);
    request.idle = options.priority == PriorityClass::Idle;
    int channelFds[2] = {-1, -1};
    int outputFds[2] = {-1, -1};
    if ((options.debugChannel && !MakeChildPipe(channelFds)) ||
        (options.captureOutput && !MakeChildPipe(outputFds))) {
        const int pipeError = errno;
        for (int fd : {channelFds[0], channelFds[1], outputFds[0], outputFds[1]}) CloseIfOpen(fd);
        return Fail(error, request.path + ": cannot be started: " + Reason(pipeError));
    }
    request.inheritFd = options.debugChannel ? channelFds[1] : InheritedDebugFd();
    request.outputFd = outputFds[1];
    request.newGroup = options.ownTree || !InStartedTree();
    SetChildEnvironment(request, commandLine, options.show);
    int spawnError = 0;
    ProcessId pid = detail::Spawn(request, spawnError);
    CloseIfOpen(channelFds[1]);
    CloseIfOpen(outputFds[1]);
    if (pid == 0) {
        CloseIfOpen(channelFds[0]);
        CloseIfOpen(outputFds[0]);
        return Fail(error, StartError(request.path, spawnError));
    }
    if (options.debugChannel) channel->Adopt(channelFds[0]);
    output_ = outputFds[0];
    pid_ = pid;
    reaped_ = false;
    exitCode_ = 0;
    return true;
}

int Process::TakeOutput() {
    const int fd = output_;
    output_ = -1;
    return fd;
}

bool Process::Running() {
    return pid_ != 0 && !TryReap(WNOHANG);
}

int Process::Wait() {
    if (pid_ == 0) return -1;
    TryReap(0);
    return exitCode_;
}

std::optional<int> Process::WaitFor(int ms) {
    if (pid_ == 0) return -1;
    if (TryReap(WNOHANG)) return exitCode_;
    auto deadline = Clock::now() + std::chrono::milliseconds(ms > 0 ? ms : 0);
    int pidfd = OpenPidfd(pid_);
    if (pidfd >= 0) {
        PollUntil(pidfd, deadline);
        close(pidfd);
        if (TryReap(WNOHANG)) return exitCode_;
        return std::nullopt;
    }
    // Kernels without process descriptors: look now and then.
    while (Clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        if (TryReap(WNOHANG)) return exitCode_;
    }
    return std::nullopt;
}

void Process::Terminate() {
    if (pid_ != 0) TerminateProcessTree(pid_);
}

bool Process::TryReap(int flags) {
    if (reaped_) return true;
    int status = 0;
    pid_t got;
    do {
        got = waitpid(pid_, &status, flags);
    } while (got < 0 && errno == EINTR);
    if (got == 0) return false;
    reaped_ = true;
    exitCode_ = -1;  // reaped elsewhere (SIGCHLD ignored, or a stray waitpid)
    if (got == pid_ && WIFEXITED(status)) exitCode_ = WEXITSTATUS(status);
    if (got == pid_ && WIFSIGNALED(status)) exitCode_ = 128 + WTERMSIG(status);
    return true;
}

void Process::Release() {
    CloseIfOpen(output_);
    output_ = -1;
    if (pid_ != 0 && !TryReap(WNOHANG)) ReapInBackground(pid_);
    pid_ = 0;
    reaped_ = false;
    exitCode_ = 0;
}

}  // namespace platform
