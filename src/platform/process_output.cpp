#include "platform/process_output.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <system_error>

namespace platform {

OutputLines::OutputLines(int fd, std::function<void(const std::string&)> onLine)
    : fd_(fd), onLine_(std::move(onLine)) {
    // Non-blocking, so that the last reading after the child's end takes only what is there.
    const int flags = fcntl(fd_, F_GETFL);
    if (flags >= 0) fcntl(fd_, F_SETFL, flags | O_NONBLOCK);
    stop_ = eventfd(0, EFD_CLOEXEC);
    try {
        if (stop_ < 0) throw std::system_error(errno, std::system_category(), "eventfd");
        thread_ = std::thread([this] { Read(); });
    } catch (...) {
        close(fd_);
        if (stop_ >= 0) close(stop_);
        throw;
    }
}

OutputLines::~OutputLines() {
    Finish();
}

void OutputLines::Finish() {
    if (!thread_.joinable()) return;
    const uint64_t one = 1;
    ssize_t ignored = write(stop_, &one, sizeof one);
    (void)ignored;
    thread_.join();
    close(fd_);
    close(stop_);
}

void OutputLines::Read() {
    for (;;) {
        pollfd entries[2] = {{fd_, POLLIN, 0}, {stop_, POLLIN, 0}};
        if (poll(entries, 2, -1) < 0) {
            if (errno == EINTR) continue;
            break;
        }
        if (entries[0].revents && !ReadAvailable()) break;
        if (entries[1].revents) {
            ReadAvailable();
            break;
        }
    }
    if (!pending_.empty()) Deliver(pending_);
}

bool OutputLines::ReadAvailable() {
    char buffer[16 * 1024];
    for (;;) {
        const ssize_t got = read(fd_, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return errno == EAGAIN || errno == EWOULDBLOCK;
        if (got == 0) return false;
        for (ssize_t i = 0; i < got; ++i) {
            if (buffer[i] == '\n') {
                Deliver(pending_);
                pending_.clear();
            } else if (pending_.size() == kMaxLine) {
                Deliver(pending_);
                pending_.assign(1, buffer[i]);
            } else {
                pending_ += buffer[i];
            }
        }
    }
}

void OutputLines::Deliver(const std::string& line) {
    try {
        onLine_(line);
    } catch (...) {
        // Nothing a tool prints may end the run that reads it.
    }
}

}  // namespace platform
