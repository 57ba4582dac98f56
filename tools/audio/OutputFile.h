#pragma once
// The MP3 is written under a temporary name in the output's folder and renamed to the output name
// only when it is complete, so that a failed run leaves nothing under that name.
#include <cstdint>
#include <cstdio>
#include <string>

namespace audio {

class OutputFile {
  public:
    // Creates the temporary file; throws std::runtime_error naming the folder when it cannot.
    explicit OutputFile(const std::string& path);
    // Removes the temporary file unless Commit() has renamed it.
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    void Write(const uint8_t* data, size_t size);
    // Writes `size` bytes at the start of the file, over what is there.
    void WriteAtStart(const uint8_t* data, size_t size);
    // Flushes the file to disk and gives it its name.
    void Commit();
    int64_t Size() const { return size_; }

  private:
    [[noreturn]] void Fail(const std::string& what) const;

    std::string path_;
    std::string temp_;
    std::FILE* file_ = nullptr;
    int64_t size_ = 0;
    bool committed_ = false;
};

}  // namespace audio
