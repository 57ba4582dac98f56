#include "media/ByteSource.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace media {

VobStream::VobStream(VobSequence sequence) : sequence_(std::move(sequence)) {}

VobStream::~VobStream() {
    if (fd_ >= 0) ::close(fd_);
}

int VobStream::Descriptor(int file) {
    if (file == openFile_) return fd_;
    if (fd_ >= 0) ::close(fd_);
    openFile_ = -1;
    const std::string& path = sequence_.Files()[file].path;
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0) throw MediaError("Cannot open " + path + ": " + std::strerror(errno));
    ::posix_fadvise(fd_, 0, 0, POSIX_FADV_SEQUENTIAL);
    openFile_ = file;
    return fd_;
}

size_t VobStream::Read(uint8_t* to, size_t size) {
    size_t done = 0;
    while (done < size && offset_ < sequence_.TotalSize()) {
        const StreamPosition at = sequence_.PositionOf(offset_);
        const VobFile& file = sequence_.Files()[at.file];
        const size_t want =
            static_cast<size_t>(std::min<int64_t>(size - done, file.size - at.offset));
        const ssize_t got = ::pread(Descriptor(at.file), to + done, want, at.offset);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0)
            throw MediaError("Cannot read " + file.path + " at offset " +
                             std::to_string(at.offset) + ": " + std::strerror(errno));
        // A file that shrank since it was measured ends early: what is there is all there is.
        if (got == 0)
            throw MediaError(file.path + " ends at offset " + std::to_string(at.offset) +
                             ", before its size of " + std::to_string(file.size) + " bytes");
        done += static_cast<size_t>(got);
        offset_ += got;
    }
    return done;
}

size_t MemorySource::Read(uint8_t* to, size_t size) {
    if (offset_ < 0 || offset_ >= Size()) return 0;
    const size_t n = std::min(size, bytes_.size() - static_cast<size_t>(offset_));
    std::memcpy(to, bytes_.data() + offset_, n);
    offset_ += static_cast<int64_t>(n);
    return n;
}

}  // namespace media
