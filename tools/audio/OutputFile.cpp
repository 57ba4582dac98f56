#include "OutputFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <vector>

namespace audio {

OutputFile::OutputFile(const std::string& path) : path_(path) {
    std::vector<char> name(path.begin(), path.end());
    for (char c : std::string(".XXXXXX")) name.push_back(c);
    name.push_back('\0');
    const int fd = mkstemp(name.data());
    if (fd < 0) {
        const size_t slash = path.rfind('/');
        const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
        throw std::runtime_error(folder + ": the output folder cannot be written (" +
                                 std::strerror(errno) + ")");
    }
    temp_ = name.data();
    // mkstemp makes the file private; the MP3 gets the permissions any new file would.
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);
    file_ = fdopen(fd, "wb");
    if (!file_) {
        ::close(fd);
        Fail("cannot be opened");
    }
}

OutputFile::~OutputFile() {
    if (file_) std::fclose(file_);
    if (!committed_ && !temp_.empty()) std::remove(temp_.c_str());
}

void OutputFile::Fail(const std::string& what) const {
    throw std::runtime_error(temp_ + ": " + what + " (" + std::strerror(errno) + ")");
}

void OutputFile::Write(const uint8_t* data, size_t size) {
    if (size == 0) return;
    if (std::fwrite(data, 1, size, file_) != size) Fail("writing failed");
    size_ += int64_t(size);
}

void OutputFile::WriteAtStart(const uint8_t* data, size_t size) {
    if (size == 0) return;
    if (std::fseek(file_, 0, SEEK_SET) != 0 || std::fwrite(data, 1, size, file_) != size ||
        std::fseek(file_, 0, SEEK_END) != 0)
        Fail("writing failed");
}

void OutputFile::Commit() {
    const int closed = std::fflush(file_) == 0 && fsync(fileno(file_)) == 0 ? 0 : -1;
    std::FILE* f = file_;
    file_ = nullptr;
    if (std::fclose(f) != 0 || closed != 0) Fail("writing failed");
    if (std::rename(temp_.c_str(), path_.c_str()) != 0)
        throw std::runtime_error(path_ + ": the finished file cannot be given its name (" +
                                 std::strerror(errno) + ")");
    committed_ = true;
}

}  // namespace audio
