#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "platform/files.h"
#include "platform/files_internal.h"

namespace platform {
namespace {

using files_internal::TempFile;

bool CopyData(int from, int to) {
    std::vector<char> buffer(1 << 18);
    for (;;) {
        ssize_t got = read(from, buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return false;
        if (got == 0) return true;
        if (!files_internal::WriteAll(to, buffer.data(), static_cast<std::size_t>(got)))
            return false;
    }
}

// Puts the finished copy in place. Without overwriting, the final step must itself refuse an
// existing target, so that a target made meanwhile by someone else is never replaced.
bool PlaceCopy(const std::string& temp, const std::string& to, bool failIfExists) {
    if (!failIfExists) return rename(temp.c_str(), to.c_str()) == 0;
    if (renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
    if (errno != EINVAL && errno != ENOSYS) return false;
    // File systems without the no-replace rename still refuse a hard link over an existing name.
    if (link(temp.c_str(), to.c_str()) != 0) return false;
    unlink(temp.c_str());
    return true;
}

bool CopyOpenFile(int source, const struct stat& st, const std::string& to, bool failIfExists) {
    TempFile temp = files_internal::CreateTempBeside(to, st.st_mode & 0777);
    if (temp.fd < 0) return false;
    bool ok = CopyData(source, temp.fd);
    // Keep the source's time of last change, as a copy of a file does on the original system.
    const struct timespec times[2] = {st.st_atim, st.st_mtim};
    if (ok) futimens(temp.fd, times);
    ok = close(temp.fd) == 0 && ok;
    ok = ok && PlaceCopy(temp.path, to, failIfExists);
    if (!ok) unlink(temp.path.c_str());
    return ok;
}

}  // namespace

bool CopyFileTo(const std::string& from, const std::string& to, bool failIfExists) {
    if (from.empty() || to.empty()) return false;
    int source = open(from.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (source < 0) return false;
    struct stat st;
    bool ok = fstat(source, &st) == 0 && S_ISREG(st.st_mode);
    if (ok && failIfExists && access(to.c_str(), F_OK) == 0) ok = false;
    ok = ok && CopyOpenFile(source, st, to, failIfExists);
    close(source);
    return ok;
}

}  // namespace platform
