// Ending a started tree by the id of its first program, from any thread.
#include <signal.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>

#include "platform/process.h"

namespace platform {
namespace {

enum class Owner { Gone, Ours, Other };

Owner OwnerOf(ProcessId pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string text;
    if (!in || !std::getline(in, text)) return Owner::Gone;
    size_t nameEnd = text.rfind(')');  // the name in brackets may hold anything
    if (nameEnd == std::string::npos) return Owner::Other;
    std::istringstream fields(text.substr(nameEnd + 1));
    char state = 0;
    long parent = 0;
    if (!(fields >> state >> parent)) return Owner::Other;
    return parent == getpid() ? Owner::Ours : Owner::Other;
}

}  // namespace

bool TerminateProcessTree(ProcessId pid) {
    if (pid <= 0) return false;
    switch (OwnerOf(pid)) {
        case Owner::Other:  // the id was given to another process: ours has long ended
            return false;
        case Owner::Gone:  // the leader is reaped, but its group may live on
            return killpg(pid, SIGKILL) == 0;
        case Owner::Ours: {
            // The leader may have left its group; it is still ours to end.
            bool group = killpg(pid, SIGKILL) == 0;
            bool leader = kill(pid, SIGKILL) == 0;
            return group || leader;
        }
    }
    return false;
}

}  // namespace platform
