#include "platform/debug_channel.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

namespace platform {
namespace {

constexpr size_t kHeaderSize = 4;

bool IsPipeWriteEnd(int fd) {
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISFIFO(st.st_mode)) return false;
    int flags = fcntl(fd, F_GETFL);
    return flags >= 0 && (flags & O_ACCMODE) == O_WRONLY;
}

// A reader that has gone must not end the writer: SIGPIPE is held back for this one write, and
// taken off again if the write raised it.
void WriteWithoutSigpipe(int fd, const char* data, size_t size) {
    sigset_t pipeSet, old, pending;
    sigemptyset(&pipeSet);
    sigaddset(&pipeSet, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipeSet, &old);
    sigpending(&pending);
    bool wasPending = sigismember(&pending, SIGPIPE) == 1;
    ssize_t written;
    do {
        written = write(fd, data, size);  // at most PIPE_BUF: all or nothing
    } while (written < 0 && errno == EINTR);
    if (written < 0 && errno == EPIPE && !wasPending) {
        timespec zero{};
        while (sigtimedwait(&pipeSet, nullptr, &zero) < 0 && errno == EINTR) {
        }
    }
    pthread_sigmask(SIG_SETMASK, &old, nullptr);
}

uint32_t ReadLength(const char* p) {
    auto byte = [p](int i) { return static_cast<uint32_t>(static_cast<unsigned char>(p[i])); };
    return byte(0) | byte(1) << 8 | byte(2) << 16 | byte(3) << 24;
}

// Hands on the complete records at the front of `pending` and drops them; false on a length
// that no writer can have written.
bool DeliverRecords(std::string& pending, const std::function<void(const std::string&)>& onRecord) {
    size_t pos = 0;
    while (pending.size() - pos >= kHeaderSize) {
        uint32_t length = ReadLength(pending.data() + pos);
        if (length > kMaxDebugRecord) return false;
        if (pending.size() - pos - kHeaderSize < length) break;
        std::string record = pending.substr(pos + kHeaderSize, length);
        pos += kHeaderSize + length;
        onRecord(record);
    }
    pending.erase(0, pos);
    return true;
}

}  // namespace

int InheritedDebugFd() {
    const char* value = std::getenv("MOVREX_DEBUG_FD");
    if (!value || !*value) return -1;
    long fd = 0;
    for (const char* p = value; *p; ++p) {
        if (*p < '0' || *p > '9' || fd > 100000000) return -1;
        fd = fd * 10 + (*p - '0');
    }
    return IsPipeWriteEnd(static_cast<int>(fd)) ? static_cast<int>(fd) : -1;
}

void OutputDebugString(const std::string& text) {
    int fd = InheritedDebugFd();
    if (fd < 0) return;
    size_t length = text.size() < kMaxDebugRecord ? text.size() : kMaxDebugRecord;
    char record[kHeaderSize + kMaxDebugRecord];
    for (size_t i = 0; i < kHeaderSize; ++i) record[i] = static_cast<char>(length >> (8 * i));
    std::memcpy(record + kHeaderSize, text.data(), length);
    WriteWithoutSigpipe(fd, record, kHeaderSize + length);
}

DebugChannel::~DebugChannel() {
    Close();
}

bool DebugChannel::ReadAll(const std::function<void(const std::string&)>& onRecord) {
    if (fd_ < 0) return false;
    std::vector<char> buffer(64 * 1024);
    std::string pending;
    for (;;) {
        ssize_t got = read(fd_, buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return false;
        if (got == 0) return pending.empty();
        pending.append(buffer.data(), static_cast<size_t>(got));
        if (!DeliverRecords(pending, onRecord)) {
            Close();
            return false;
        }
    }
}

void DebugChannel::Close() {
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
}

void DebugChannel::Adopt(int readFd) {
    Close();
    fd_ = readFd;
}

}  // namespace platform
