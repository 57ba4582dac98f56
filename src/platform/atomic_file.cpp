#include "platform/atomic_file.h"

#include "platform/files_internal.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <system_error>
#include <thread>

namespace platform::detail {
namespace {

std::string Reason(const std::string& path, int err) {
    return "'" + path + "': " + std::strerror(err);
}

class Fd {
  public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0) ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int Get() const { return fd_; }
    // Closes now and reports the error of close(), which is where some file systems report a
    // failed write.
    int Close() {
        int rc = ::close(fd_);
        fd_ = -1;
        return rc;
    }

  private:
    int fd_;
};

// The rename is only durable once the folder entry is on disk too; a failure here does not
// undo the replacement, so it is not reported.
void SyncFolder(const std::string& folder) {
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

bool WriteTemporary(const std::string& tmp, const std::string& path, const std::string& text,
                    std::string& error) {
    struct stat old {};
    bool keepMode = ::stat(path.c_str(), &old) == 0;
    // A leftover of an interrupted save is ours to replace; O_EXCL then makes sure we never
    // write through a link that somebody put in its place.
    ::unlink(tmp.c_str());
    Fd fd(::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    if (fd.Get() < 0) {
        error = "cannot create " + Reason(tmp, errno);
        return false;
    }
    if (keepMode) ::fchmod(fd.Get(), old.st_mode & 07777);
    if (!files_internal::WriteAll(fd.Get(), text.data(), text.size()) || ::fsync(fd.Get()) != 0 ||
        fd.Close() != 0) {
        error = "cannot write " + Reason(tmp, errno);
        return false;
    }
    return true;
}

}  // namespace

ReadStatus ReadWholeFile(const std::string& path, std::string& text, std::string& error,
                         size_t limit) {
    text.clear();
    Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.Get() < 0) {
        if (errno == ENOENT) return ReadStatus::Missing;
        error = "cannot read " + Reason(path, errno);
        return ReadStatus::Failed;
    }
    struct stat st {};
    if (::fstat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode)) {
        error = "'" + path + "' is not a regular file";
        return ReadStatus::Failed;
    }
    if (static_cast<unsigned long long>(st.st_size) > limit) {
        error = "'" + path + "' is too large (" + std::to_string(st.st_size) + " bytes)";
        return ReadStatus::Failed;
    }
    if (!files_internal::ReadAll(fd.Get(), text)) {
        error = "cannot read " + Reason(path, errno);
        return ReadStatus::Failed;
    }
    if (text.size() > limit) {
        error = "'" + path + "' is too large (" + std::to_string(text.size()) + " bytes)";
        return ReadStatus::Failed;
    }
    return ReadStatus::Ok;
}

bool CreateFolderFor(const std::string& path, std::string& error) {
    std::filesystem::path folder = std::filesystem::path(path).parent_path();
    if (folder.empty()) return true;
    std::error_code ec;
    if (std::filesystem::is_directory(folder, ec)) return true;
    std::filesystem::create_directories(folder, ec);
    if (ec && !std::filesystem::is_directory(folder)) {
        error = "cannot create the folder '" + folder.string() + "': " + ec.message();
        return false;
    }
    return true;
}

bool SaveFileAtomically(const std::string& path, const std::string& text, std::string& error) {
    const std::string tmp = path + ".tmp";
    if (!WriteTemporary(tmp, path, text, error)) {
        ::unlink(tmp.c_str());
        return false;
    }
    if (::rename(tmp.c_str(), path.c_str()) != 0) {
        error = "cannot replace " + Reason(path, errno);
        ::unlink(tmp.c_str());
        return false;
    }
    SyncFolder(files_internal::FolderOf(path));
    return true;
}

FileLock::FileLock(const std::string& lockPath, int timeoutMs) {
    int fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) {
        error_ = "cannot open the lock file " + Reason(lockPath, errno);
        return;
    }
    // Holders keep the lock for one read-modify-write, a few milliseconds; poll with a short
    // back-off instead of blocking so that the wait has an end.
    int waitedMs = 0, pauseMs = 1;
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK && errno != EINTR) {
            error_ = "cannot lock " + Reason(lockPath, errno);
            ::close(fd);
            return;
        }
        if (waitedMs >= timeoutMs) {
            error_ = "timed out waiting for the lock on '" + lockPath + "'";
            ::close(fd);
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(pauseMs));
        waitedMs += pauseMs;
        pauseMs = pauseMs < 8 ? pauseMs * 2 : 8;
    }
    fd_ = fd;
}

FileLock::~FileLock() {
    if (fd_ >= 0) ::close(fd_);
}

}  // namespace platform::detail
