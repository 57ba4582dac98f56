#include "WriteLine.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "frameserver_plugin.h"

namespace logwrite {
namespace {

[[noreturn]] void Fail(const std::string& path, const char* what, int error) {
    throw fsrv::Error("write: " + path + " " + what + ": " + std::strerror(error));
}

}  // namespace

void WriteLine(const std::string& path, const std::string& text, bool append) {
    const int fd =
        ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | (append ? O_APPEND : O_TRUNC), 0644);
    if (fd < 0) Fail(path, "cannot be opened", errno);
    struct stat before {};
    ::fstat(fd, &before);
    const std::string line = text + "\r\n";
    const ssize_t written = ::write(fd, line.data(), line.size());
    const int error = written < 0 ? errno : ENOSPC;
    if (written != ssize_t(line.size())) {
        // Leave no piece of a line behind: the reader counts lines as frames. Should even this
        // fail, the error below still stops the run.
        if (written > 0) [[maybe_unused]]
            const int undone = ::ftruncate(fd, before.st_size);
        ::close(fd);
        Fail(path, "cannot be written", error);
    }
    if (::close(fd) != 0) Fail(path, "cannot be written", errno);
}

}  // namespace logwrite
