#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

#include "platform/system.h"

extern char** environ;

namespace platform {
namespace {

bool IsExecutableFile(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(path.c_str(), X_OK) == 0;
}

// The program as the shell would find it. Empty entries of PATH are skipped rather than taken
// for the current folder.
std::string FindInPath(const std::string& program) {
    const char* value = std::getenv("PATH");
    const std::string path = value ? value : "/usr/local/bin:/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find(':', start);
        if (end == std::string::npos) end = path.size();
        if (end > start) {
            std::string candidate = path.substr(start, end - start) + "/" + program;
            if (IsExecutableFile(candidate)) return candidate;
        }
        start = end + 1;
    }
    return {};
}

// Runs in the grandchild, between fork and exec: only calls that are safe there.
[[noreturn]] void ExecDetached(const char* program, char* const* argv, int devNull, int report) {
    setsid();
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    signal(SIGPIPE, SIG_DFL);
    signal(SIGCHLD, SIG_DFL);
    if (devNull >= 0) dup2(devNull, STDIN_FILENO);
#ifdef CLOSE_RANGE_CLOEXEC
    // Descriptors someone opened without close-on-exec stay ours, not the desktop's.
    close_range(3, ~0U, CLOSE_RANGE_CLOEXEC);
#endif
    execve(program, argv, environ);
    const int error = errno;
    [[maybe_unused]] ssize_t ignored = write(report, &error, sizeof error);
    _exit(127);
}

// Starts a program that outlives us and is nobody's child to wait for (it is handed to init
// through an intermediate process). True once the program itself runs: a pipe that closes on
// exec tells whether the exec worked.
bool StartDetached(const std::string& program, const std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0) return false;
    const int devNull = open("/dev/null", O_RDONLY | O_CLOEXEC);
    const pid_t middle = fork();
    if (middle == 0) {
        close(pipeFds[0]);
        const pid_t grandchild = fork();
        if (grandchild == 0) ExecDetached(program.c_str(), argv.data(), devNull, pipeFds[1]);
        _exit(grandchild < 0 ? 1 : 0);
    }
    close(pipeFds[1]);
    if (devNull >= 0) close(devNull);
    int status = 0;
    bool started = middle > 0;
    while (started && waitpid(middle, &status, 0) < 0)
        if (errno != EINTR) started = false;
    started = started && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    int error = 0;
    ssize_t got;
    do {
        got = read(pipeFds[0], &error, sizeof error);
    } while (got < 0 && errno == EINTR);
    close(pipeFds[0]);
    return started && got == 0;
}

}  // namespace

bool RequestPowerOff() {
    // Through the shell so that the second way is tried when the first one fails, not only when
    // it is missing (systemctl is there but refuses on a system not started by systemd).
    return StartDetached("/bin/sh",
                         {"sh", "-c", "systemctl poweroff || shutdown -P now", "movrex-poweroff"});
}

bool ShellOpen(const std::string& target) {
    if (target.empty()) return false;
    const std::string opener = FindInPath("xdg-open");
    if (opener.empty()) return false;
    // A relative name that starts with "-" would be taken for an option.
    const std::string argument = target[0] == '-' ? "./" + target : target;
    return StartDetached(opener, {"xdg-open", argument});
}

}  // namespace platform
