#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "platform/paths.h"
#include "platform/system.h"

namespace platform {
namespace {

// The lock file always lies in the folder, whatever the name holds.
std::string LockPath(const std::string& name, const std::string& folder) {
    std::string leaf = name.empty() ? std::string("_") : name;
    for (char& c : leaf)
        if (c == '/') c = '_';
    return folder + "/" + leaf + ".lock";
}

// An exclusive lock of the kernel's on the open file, without waiting: 0 when taken, else the
// reason (EWOULDBLOCK: another holder has it). Tied to this open file, so it also refuses a second
// holder in this same process and goes away with a holder that crashes.
int TryLock(int fd) {
    while (flock(fd, LOCK_EX | LOCK_NB) != 0)
        if (errno != EINTR) return errno;
    return 0;
}

}  // namespace

SingleInstance::SingleInstance(const std::string& name) : SingleInstance(name, RuntimeFolder()) {}

SingleInstance::SingleInstance(const std::string& name, const std::string& folder) {
    // Close-on-exec: a program started while the lock is held must not keep it after we end.
    const std::string path = LockPath(name, folder);
    int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        error_ = "cannot open the lock file " + path + ": " + std::system_category().message(errno);
        return;
    }
    const int error = TryLock(fd);
    if (error != 0) {
        if (error != EWOULDBLOCK)
            error_ =
                "cannot lock the lock file " + path + ": " + std::system_category().message(error);
        close(fd);
        return;
    }
    fd_ = fd;
}

SingleInstance::~SingleInstance() {
    if (fd_ >= 0) close(fd_);
}

FolderLock::FolderLock(const std::string& folder) {
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    const int error = TryLock(fd);
    if (error == 0) {
        fd_ = fd;
        return;
    }
    refused_ = error == EWOULDBLOCK;
    close(fd);
}

FolderLock::~FolderLock() {
    if (fd_ >= 0) close(fd_);
}

}  // namespace platform
