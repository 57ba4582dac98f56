#include "platform/process_spawn.h"

#include <fcntl.h>
#include <sched.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

extern char** environ;

namespace platform::detail {
namespace {

std::vector<char*> PointersTo(const std::vector<std::string>& strings) {
    std::vector<char*> pointers;
    pointers.reserve(strings.size() + 1);
    for (const std::string& s : strings) pointers.push_back(const_cast<char*>(s.c_str()));
    pointers.push_back(nullptr);
    return pointers;
}

// Handlers of this program must not run in the child before exec, and the child starts with no
// signal blocked; ignored signals stay ignored, as they would across a plain exec.
void ResetSignalsInChild() {
    for (int sig = 1; sig < NSIG; ++sig) {
        struct sigaction old;
        if (sigaction(sig, nullptr, &old) != 0 || old.sa_handler == SIG_IGN) continue;
        struct sigaction dfl;
        std::memset(&dfl, 0, sizeof dfl);
        dfl.sa_handler = SIG_DFL;
        sigaction(sig, &dfl, nullptr);
    }
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
}

// Fills the digits at the end of `text` with `value`, zero-padded; no allocation.
void WriteDigits(char* text, long value) {
    char* end = text + std::strlen(text);
    while (end > text && end[-1] >= '0' && end[-1] <= '9') {
        *--end = static_cast<char>('0' + value % 10);
        value /= 10;
    }
}

[[noreturn]] void RunChild(const SpawnRequest& request, char* const* argv, char* const* envp,
                           int errorFd) {
    if (request.newGroup) {
        setpgid(0, 0);
        if (request.groupEntry >= 0) WriteDigits(envp[request.groupEntry], getpid());
    }
    if (request.idle) {
        sched_param param;
        std::memset(&param, 0, sizeof param);
        sched_setscheduler(0, SCHED_IDLE, &param);
        setpriority(PRIO_PROCESS, 0, 19);
    }
    ResetSignalsInChild();
    if (request.outputFd >= 0) dup2(request.outputFd, STDOUT_FILENO);
    // No descriptor is handed on by accident, whoever opened it and however.
    close_range(3, ~0U, CLOSE_RANGE_CLOEXEC);
    if (request.inheritFd >= 0) fcntl(request.inheritFd, F_SETFD, 0);
    execve(request.path.c_str(), argv, envp);
    int error = errno;
    ssize_t ignored = write(errorFd, &error, sizeof error);
    (void)ignored;
    _exit(127);
}

// What the child reported through the exec pipe: 0 when it runs the program.
int ExecResult(int readFd) {
    int error = 0;
    ssize_t got;
    do {
        got = read(readFd, &error, sizeof error);
    } while (got < 0 && errno == EINTR);
    if (got == 0) return 0;
    return got == sizeof error && error != 0 ? error : EIO;
}

void Reap(ProcessId pid) {
    while (waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
    }
}

}  // namespace

ProcessId Spawn(const SpawnRequest& request, int& error) {
    std::vector<char*> argv = PointersTo(request.argv);
    std::vector<char*> envp = PointersTo(request.env);
    int execPipe[2];
    if (pipe2(execPipe, O_CLOEXEC) != 0) {
        error = errno;
        return 0;
    }
    // Signals stay blocked from the fork until the child has reset its handlers.
    sigset_t all, old;
    sigfillset(&all);
    pthread_sigmask(SIG_SETMASK, &all, &old);
    pid_t pid = fork();
    if (pid == 0) RunChild(request, argv.data(), envp.data(), execPipe[1]);
    int forkError = errno;
    pthread_sigmask(SIG_SETMASK, &old, nullptr);
    close(execPipe[1]);
    if (pid < 0) {
        close(execPipe[0]);
        error = forkError;
        return 0;
    }
    error = ExecResult(execPipe[0]);
    close(execPipe[0]);
    if (error == 0) return pid;
    Reap(pid);
    return 0;
}

std::vector<std::string> EnvironmentWithout(const std::vector<std::string>& drop) {
    std::vector<std::string> env;
    for (char** entry = environ; entry && *entry; ++entry) {
        std::string item = *entry;
        bool dropped = false;
        for (const std::string& name : drop)
            dropped = dropped || item.compare(0, name.size() + 1, name + "=") == 0;
        if (!dropped) env.push_back(std::move(item));
    }
    return env;
}

}  // namespace platform::detail
