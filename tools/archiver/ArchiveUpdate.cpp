#include "ArchiveUpdate.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <stdexcept>

#include "ExistingEntries.h"
#include "platform/files.h"
#include "platform/files_internal.h"

namespace archiver {
namespace {

std::runtime_error SystemError(const std::string& path, const std::string& what) {
    return std::runtime_error(path + ": " + what + " (" + std::strerror(errno) + ")");
}

// Closes a descriptor when it goes out of scope.
struct Descriptor {
    int fd = -1;
    ~Descriptor() {
        if (fd >= 0) close(fd);
    }
};

void AddFromDisk(ArchiveWriter& writer, const NewFile& file, const ProgressSink& progress) {
    Descriptor in{open(file.path.c_str(), O_RDONLY | O_CLOEXEC)};
    struct stat info {};
    if (in.fd < 0 || fstat(in.fd, &info) != 0) throw SystemError(file.path, "cannot be opened");
    if (!S_ISREG(info.st_mode)) throw std::runtime_error(file.path + ": not a file");
    EntryHeader entry;
    entry.name = file.name;
    entry.size = uint64_t(info.st_size);
    entry.mode = uint32_t(S_IFREG | (info.st_mode & 07777));
    if (info.st_mtime >= 0 && uint64_t(info.st_mtime) <= UINT32_MAX)
        entry.mtime = uint32_t(info.st_mtime);
    writer.AddFile(
        entry,
        [&](char* buffer, size_t size) {
            for (;;) {
                const ssize_t n = read(in.fd, buffer, size);
                if (n >= 0) return size_t(n);
                if (errno != EINTR) throw SystemError(file.path, "cannot be read");
            }
        },
        progress);
}

void WriteArchive(int fd, const std::string& tempPath, const std::string& archive,
                  const std::vector<NewFile>& files, const ProgressSink& progress) {
    ArchiveWriter writer(fd, tempPath);
    writer.Begin();
    if (platform::FileExists(archive)) {
        std::vector<std::string> replaced;
        for (const NewFile& file : files) replaced.push_back(file.name);
        CopyEntries(archive, replaced, writer);
    }
    for (const NewFile& file : files) AddFromDisk(writer, file, progress);
    writer.Finish();
    if (fsync(fd) != 0) throw SystemError(tempPath, "cannot be written to disk");
}

}  // namespace

void UpdateArchive(const std::string& archive, const std::vector<NewFile>& files,
                   const ProgressSink& progress) {
    if (platform::DirectoryExists(archive))
        throw std::runtime_error(archive + ": a folder, not an archive");
    struct stat old {};
    const unsigned mode = stat(archive.c_str(), &old) == 0 ? old.st_mode & 0777 : 0666;
    platform::files_internal::TempFile temp =
        platform::files_internal::CreateTempBeside(archive, mode);
    if (temp.fd < 0) throw SystemError(archive, "no file can be made in its folder");
    try {
        WriteArchive(temp.fd, temp.path, archive, files, progress);
        const int closed = close(temp.fd);
        temp.fd = -1;
        if (closed != 0) throw SystemError(temp.path, "cannot be written");
        if (rename(temp.path.c_str(), archive.c_str()) != 0)
            throw SystemError(archive, "cannot be replaced");
    } catch (...) {
        if (temp.fd >= 0) close(temp.fd);
        unlink(temp.path.c_str());
        throw;
    }
}

}  // namespace archiver
