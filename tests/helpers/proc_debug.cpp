// Test child: proc_debug ACTION...  Actions, in order:
//   say:TEXT   writes TEXT through OutputDebugString
//   big        writes a record of 5000 'x' (cut by the channel)
//   raw        writes a malformed record (a length no writer may use) straight to the channel
//   half       writes a record header announcing 10 bytes, then only 3
//   sleep:MS   sleeps
//   orphan     waits (at most 10 s) until the process that started this one has ended
//   child ...  starts a copy of itself with the remaining actions, does not wait for it, ends
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

#include "platform/debug_channel.h"
#include "platform/process.h"

namespace {

void WriteRaw(const std::string& bytes) {
    int fd = platform::InheritedDebugFd();
    if (fd >= 0) {
        ssize_t ignored = write(fd, bytes.data(), bytes.size());
        (void)ignored;
    }
}

// `parent` is passed down: by the time this runs the parent may have ended already.
void WaitForParentEnd(pid_t parent) {
    for (int i = 0; i < 1000 && getppid() == parent; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
}

bool StartRest(int argc, char** argv, int from) {
    std::string line = platform::QuoteArgument(std::filesystem::read_symlink("/proc/self/exe"));
    for (int i = from; i < argc; ++i) {
        std::string action = argv[i];
        if (action == "orphan") action += ":" + std::to_string(getpid());
        line += " " + platform::QuoteArgument(action);
    }
    platform::Process child;
    return child.Start(line, {});
}

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        std::string action = argv[i];
        if (action.rfind("say:", 0) == 0) platform::OutputDebugString(action.substr(4));
        if (action == "big") platform::OutputDebugString(std::string(5000, 'x'));
        if (action == "raw") WriteRaw(std::string("\xff\xff\xff\xff", 4) + "junk");
        if (action == "half") WriteRaw(std::string("\x0a\0\0\0abc", 7));
        if (action.rfind("sleep:", 0) == 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(std::atoi(argv[i] + 6)));
        if (action.rfind("orphan:", 0) == 0) WaitForParentEnd(std::atoi(argv[i] + 7));
        if (action == "child") return StartRest(argc, argv, i + 1) ? 0 : 3;
    }
    return 0;
}
