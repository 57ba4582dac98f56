#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

#include "platform/files.h"

namespace platform {
namespace {

constexpr int kDirFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

// Opens a folder for emptying it: the folder must be readable to list it and writable and
// searchable to remove what is in it, so it is made so first. `chmodHere` makes an unreadable
// folder readable by name when it cannot be opened as it is.
template <typename Open, typename ChmodHere>
int OpenForEmptying(Open open, ChmodHere chmodHere) {
    int fd = open();
    if (fd < 0 && errno == EACCES && chmodHere() == 0) fd = open();
    if (fd < 0) return -1;
    struct stat st;
    if (fstat(fd, &st) == 0 && (st.st_mode & S_IRWXU) != S_IRWXU)
        fchmod(fd, (st.st_mode & 07777) | S_IRWXU);
    return fd;
}

std::vector<std::string> EntryNames(int dirfd) {
    std::vector<std::string> names;
    int listfd = dup(dirfd);
    if (listfd < 0) return names;
    DIR* dir = fdopendir(listfd);
    if (!dir) {
        close(listfd);
        return names;
    }
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") names.push_back(name);
    }
    closedir(dir);
    return names;
}

bool EmptyFolder(int dirfd);

bool RemoveEntry(int dirfd, const std::string& name) {
    struct stat st;
    if (fstatat(dirfd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) return errno == ENOENT;
    if (!S_ISDIR(st.st_mode)) return unlinkat(dirfd, name.c_str(), 0) == 0 || errno == ENOENT;
    int fd = OpenForEmptying(
        [&] { return openat(dirfd, name.c_str(), kDirFlags); },
        [&] { return fchmodat(dirfd, name.c_str(), (st.st_mode & 07777) | S_IRWXU, 0); });
    if (fd < 0) return false;
    bool ok = EmptyFolder(fd);
    close(fd);
    return unlinkat(dirfd, name.c_str(), AT_REMOVEDIR) == 0 && ok;
}

// The names are read before anything is removed, so the listing never runs over entries that
// are going away.
bool EmptyFolder(int dirfd) {
    bool ok = true;
    for (const std::string& name : EntryNames(dirfd)) ok = RemoveEntry(dirfd, name) && ok;
    return ok;
}

}  // namespace

bool DeleteTree(const std::string& path) {
    if (path.empty()) return false;
    struct stat st;
    if (lstat(path.c_str(), &st) != 0) return errno == ENOENT;
    if (!S_ISDIR(st.st_mode)) return unlink(path.c_str()) == 0;
    int fd = OpenForEmptying([&] { return open(path.c_str(), kDirFlags); },
                             [&] { return chmod(path.c_str(), (st.st_mode & 07777) | S_IRWXU); });
    if (fd < 0) return false;
    bool ok = EmptyFolder(fd);
    close(fd);
    return rmdir(path.c_str()) == 0 && ok;
}

}  // namespace platform
