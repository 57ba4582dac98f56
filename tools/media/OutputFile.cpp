#include "media/OutputFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "media/MediaError.h"

namespace media {
namespace {

constexpr size_t kBufferSize = 1 << 20;

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

OutputFile::OutputFile(std::string temporaryPath) : path_(std::move(temporaryPath)) {
    fd_ = ::open(FolderOf(path_).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0644);
    unnamed_ = fd_ >= 0;
    // File systems without unnamed files get the temporary name at once.
    if (!unnamed_) fd_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd_ < 0) Fail("Cannot create", errno);
    buffer_.reserve(kBufferSize);
}

OutputFile::~OutputFile() {
    if (fd_ < 0) return;
    ::close(fd_);
    if (!unnamed_) ::unlink(path_.c_str());
}

void OutputFile::Fail(const std::string& what, int error) {
    const std::string message = what + " " + path_ + ": " + std::strerror(error);
    if (fd_ >= 0) {
        ::close(fd_);
        if (!unnamed_) ::unlink(path_.c_str());
        fd_ = -1;
    }
    throw MediaError(message);
}

void OutputFile::GiveName() {
    if (!unnamed_) return;
    ::unlink(path_.c_str());  // left by a run of the same process number that was ended by force
    const std::string self = "/proc/self/fd/" + std::to_string(fd_);
    if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path_.c_str(), AT_SYMLINK_FOLLOW) != 0)
        Fail("Cannot name", errno);
    unnamed_ = false;
}

void OutputFile::Flush() {
    size_t done = 0;
    while (done < buffer_.size()) {
        const ssize_t n = ::write(fd_, buffer_.data() + done, buffer_.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) Fail("Cannot write", n < 0 ? errno : ENOSPC);
        done += static_cast<size_t>(n);
    }
    buffer_.clear();
}

void OutputFile::Write(const void* data, size_t size) {
    if (fd_ < 0) throw MediaError("Cannot write " + path_ + ": it is closed");
    const auto* bytes = static_cast<const uint8_t*>(data);
    while (size > 0) {
        const size_t take = std::min(size, kBufferSize - buffer_.size());
        buffer_.insert(buffer_.end(), bytes, bytes + take);
        bytes += take;
        size -= take;
        size_ += static_cast<int64_t>(take);
        if (buffer_.size() == kBufferSize) Flush();
    }
}

void OutputFile::WriteAt(int64_t offset, const void* data, size_t size) {
    if (fd_ < 0) throw MediaError("Cannot write " + path_ + ": it is closed");
    Flush();
    if (::pwrite(fd_, data, size, offset) != static_cast<ssize_t>(size))
        Fail("Cannot write", errno ? errno : ENOSPC);
}

void OutputFile::Commit(const std::string& finalPath) {
    if (fd_ < 0) throw MediaError("Cannot write " + path_ + ": it is closed");
    Flush();
    GiveName();
    // A full disk shows in write() on local file systems, on network ones only in close().
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(path_.c_str());
        throw MediaError("Cannot write " + path_ + ": " + std::strerror(error));
    }
    if (std::rename(path_.c_str(), finalPath.c_str()) != 0) {
        const int error = errno;
        ::unlink(path_.c_str());
        throw MediaError("Cannot rename " + path_ + " to " + finalPath + ": " +
                         std::strerror(error));
    }
}

}  // namespace media
