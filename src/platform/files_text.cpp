#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <new>
#include <optional>
#include <stdexcept>
#include <system_error>

#include "platform/files.h"
#include "platform/files_internal.h"

namespace platform {
namespace {

// A link is written through, not replaced by a file of its own: the new text goes where the
// link points.
std::string WriteTarget(const std::string& path) {
    struct stat st;
    if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    std::error_code ec;
    auto resolved = std::filesystem::weakly_canonical(path, ec);
    return ec ? path : resolved.string();
}

// An existing file keeps its permissions exactly; a new one gets the usual ones less the umask.
std::optional<unsigned> ExistingMode(const std::string& target) {
    struct stat st;
    if (stat(target.c_str(), &st) == 0 && S_ISREG(st.st_mode)) return st.st_mode & 07777;
    return std::nullopt;
}

}  // namespace

bool ReadFileText(const std::string& path, std::string& text) {
    text.clear();
    int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st;
    bool ok = fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    try {
        if (ok) text.reserve(static_cast<std::size_t>(st.st_size));
        ok = ok && files_internal::ReadAll(fd, text);
    } catch (const std::bad_alloc&) {
        ok = false;
    } catch (const std::length_error&) {
        ok = false;
    }
    close(fd);
    if (!ok) text.clear();
    return ok;
}

bool WriteFileText(const std::string& path, const std::string& text) {
    if (path.empty()) return false;
    const std::string target = WriteTarget(path);
    const std::optional<unsigned> mode = ExistingMode(target);
    files_internal::TempFile temp = files_internal::CreateTempBeside(target, mode.value_or(0666));
    if (temp.fd < 0) return false;
    if (mode) fchmod(temp.fd, *mode);
    bool ok = files_internal::WriteAll(temp.fd, text.data(), text.size());
    ok = ok && fsync(temp.fd) == 0;
    ok = close(temp.fd) == 0 && ok;
    ok = ok && rename(temp.path.c_str(), target.c_str()) == 0;
    if (!ok) unlink(temp.path.c_str());
    return ok;
}

}  // namespace platform
