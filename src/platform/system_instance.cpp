#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

#include "platform/paths.h"
#include "platform/system.h"

namespace platform {
namespace {

// The lock file always lies in the runtime folder, whatever the name holds.
std::string LockPath(const std::string& name) {
    std::string leaf = name.empty() ? std::string("_") : name;
    for (char& c : leaf)
        if (c == '/') c = '_';
    return RuntimeFolder() + "/" + leaf + ".lock";
}

}  // namespace

SingleInstance::SingleInstance(const std::string& name) {
    // Close-on-exec: a program started while the lock is held must not keep it after we end.
    // A lock of the kernel's, tied to this open file, so it also refuses a second holder in
    // this same process and goes away with a holder that crashes.
    const std::string path = LockPath(name);
    int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) return;
    int locked;
    do {
        locked = flock(fd, LOCK_EX | LOCK_NB);
    } while (locked != 0 && errno == EINTR);
    if (locked != 0) {
        close(fd);
        return;
    }
    fd_ = fd;
}

SingleInstance::~SingleInstance() {
    if (fd_ >= 0) close(fd_);
}

}  // namespace platform
