#pragma once
// A file written under a temporary name in its folder and renamed to its final name only when
// it is whole, so that a run that fails leaves nothing under the final name (the planner judges
// a helper by the files it leaves). Where the file system allows it the file has no name at all
// until then, so that a run ended by force (an aborted job) leaves nothing behind either. Every
// failure, a full disk included, is a MediaError that names the file.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace media {

class OutputFile {
  public:
    explicit OutputFile(std::string temporaryPath);
    ~OutputFile();  // removes the temporary file unless it was committed
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    void Write(const void* data, size_t size);
    // Overwrites bytes already written (a header whose sizes are known at the end).
    void WriteAt(int64_t offset, const void* data, size_t size);
    int64_t Size() const { return size_; }
    // Writes out what is buffered, closes the file and renames it over `finalPath`.
    void Commit(const std::string& finalPath);
    const std::string& Path() const { return path_; }

  private:
    void Flush();
    void GiveName();
    [[noreturn]] void Fail(const std::string& what, int error);

    std::string path_;
    int fd_ = -1;
    bool unnamed_ = false;  // no name yet: the temporary name is given at the commit
    std::vector<uint8_t> buffer_;
    int64_t size_ = 0;
};

}  // namespace media
