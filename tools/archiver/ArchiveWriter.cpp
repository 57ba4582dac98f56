#include "ArchiveWriter.h"

#include <unistd.h>
#include <zlib.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <vector>

#include "platform/files_internal.h"

namespace archiver {
namespace {

constexpr size_t kChunk = 1 << 20;
constexpr uint64_t kProgressStep = 16 << 20;

}  // namespace

ArchiveWriter::ArchiveWriter(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}

void ArchiveWriter::Write(const char* data, size_t size) {
    if (!platform::files_internal::WriteAll(fd_, data, size))
        throw std::runtime_error(path_ + ": cannot be written (" + std::strerror(errno) + ")");
    offset_ += size;
}

void ArchiveWriter::WriteAt(const std::string& bytes, uint64_t offset) {
    for (size_t done = 0; done < bytes.size();) {
        const ssize_t n =
            pwrite(fd_, bytes.data() + done, bytes.size() - done, off_t(offset + done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0)
            throw std::runtime_error(path_ + ": cannot be written (" + std::strerror(errno) + ")");
        done += size_t(n);
    }
}

void ArchiveWriter::Begin() {
    Write(std::string(kSignature, kSignatureSize));
    Write(MainHeader());
}

void ArchiveWriter::AddFile(EntryHeader entry, const DataReader& read,
                            const ProgressSink& progress) {
    const uint64_t headerAt = offset_;
    entry.crc = 0;
    Write(FileHeader(entry));
    std::vector<char> buffer(kChunk);
    uLong crc = crc32(0, nullptr, 0);
    uint64_t done = 0;
    for (size_t got; (got = read(buffer.data(), buffer.size())) > 0;) {
        if (got > entry.size - done)
            throw std::runtime_error(entry.name + " grew while it was being added to " + path_);
        crc = crc32(crc, reinterpret_cast<const Bytef*>(buffer.data()), uInt(got));
        Write(buffer.data(), got);
        done += got;
        if (progress && (done % kProgressStep < got || done == entry.size))
            progress(done, entry.size);
    }
    if (done != entry.size)
        throw std::runtime_error(entry.name + " shrank while it was being added to " + path_);
    entry.crc = uint32_t(crc);
    WriteAt(FileHeader(entry), headerAt);
}

void ArchiveWriter::AddDirectory(const EntryHeader& entry) {
    EntryHeader folder = entry;
    folder.directory = true;
    Write(FileHeader(folder));
}

void ArchiveWriter::Finish() {
    Write(EndHeader());
}

}  // namespace archiver
