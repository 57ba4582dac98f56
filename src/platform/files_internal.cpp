#include "platform/files_internal.h"

#include <fcntl.h>
#include <sys/random.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <random>

namespace platform::files_internal {
namespace {

uint64_t RandomBits() {
    uint64_t bits = 0;
    if (getrandom(&bits, sizeof bits, GRND_NONBLOCK) == static_cast<ssize_t>(sizeof bits))
        return bits;
    std::random_device device;
    return (static_cast<uint64_t>(device()) << 32) ^ device();
}

std::string HexOf(uint64_t bits) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text(16, '0');
    for (int i = 15; i >= 0; --i, bits >>= 4) text[i] = kDigits[bits & 15];
    return text;
}

}  // namespace

std::string FolderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

TempFile CreateTempBeside(const std::string& target, unsigned mode) {
    // A short fixed prefix keeps the name valid however long the target's own name is.
    const std::string folder = FolderOf(target);
    for (int attempt = 0; attempt < 16; ++attempt) {
        std::string path = folder + "/.movrex-" + HexOf(RandomBits()) + ".tmp";
        int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, mode);
        if (fd >= 0) return {fd, path};
        if (errno != EEXIST) break;
    }
    return {};
}

bool ReadAll(int fd, std::string& text) {
    char buffer[1 << 16];
    for (;;) {
        ssize_t got = read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return false;
        if (got == 0) return true;
        text.append(buffer, static_cast<std::size_t>(got));
    }
}

bool WriteAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        ssize_t written = write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (written == 0) return false;
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

}  // namespace platform::files_internal
