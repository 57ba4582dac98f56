#pragma once
// Child processes for the platform tests: a helper program with pipes on its standard input and
// output, and a forked copy of the test that runs one check, optionally without root's powers
// (root may read and delete what file modes forbid, which would hide the faults looked for).
#include <fcntl.h>
#include <grp.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <string>
#include <vector>

extern char** environ;

namespace sys_test {

class Child {
  public:
    // Starts `argv` (argv[0] a path) in `cwd` (empty: ours). Check Started().
    explicit Child(const std::vector<std::string>& argv, const std::string& cwd = "") {
        int in[2], out[2];
        if (pipe2(in, O_CLOEXEC) != 0) return;
        if (pipe2(out, O_CLOEXEC) != 0) {
            close(in[0]);
            close(in[1]);
            return;
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        if (!cwd.empty()) posix_spawn_file_actions_addchdir_np(&actions, cwd.c_str());
        std::vector<char*> args;
        for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        if (posix_spawn(&pid_, args[0], &actions, nullptr, args.data(), environ) != 0) pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
        close(in[0]);
        close(out[1]);
        toChild_ = in[1];
        fromChild_ = out[0];
    }
    ~Child() {
        CloseInput();
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            Wait();
        }
        if (fromChild_ >= 0) close(fromChild_);
    }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    bool Started() const { return pid_ > 0; }
    // One line of its output without the line end; empty at its end.
    std::string ReadLine() {
        std::string line;
        char c;
        while (read(fromChild_, &c, 1) == 1 && c != '\n') line += c;
        return line;
    }
    std::string ReadAll() {
        std::string text;
        char buffer[4096];
        ssize_t got;
        while ((got = read(fromChild_, buffer, sizeof buffer)) > 0) text.append(buffer, got);
        return text;
    }
    void CloseInput() {
        if (toChild_ >= 0) close(toChild_);
        toChild_ = -1;
    }
    void Kill() {
        if (pid_ > 0) kill(pid_, SIGKILL);
    }
    // Exit code, 128 + signal number for a killed child, -1 when there is none.
    int Wait() {
        if (pid_ <= 0) return -1;
        int status = 0;
        while (waitpid(pid_, &status, 0) < 0)
            if (errno != EINTR) return -1;
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }

  private:
    pid_t pid_ = -1;
    int toChild_ = -1;
    int fromChild_ = -1;
};

inline constexpr int kCannotDrop = 201;

// Runs `body` in a forked copy of this process and returns its result (0 for success, by the
// tests' own convention). With `unprivileged`, root first becomes "nobody".
inline int InFork(const std::function<int()>& body, bool unprivileged) {
    pid_t pid = fork();
    if (pid < 0) return -1;
    if (pid == 0) {
        if (unprivileged && geteuid() == 0) {
            if (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0)
                _exit(kCannotDrop);
        }
        _exit(body());
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0)
        if (errno != EINTR) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

}  // namespace sys_test
