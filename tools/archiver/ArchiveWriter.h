#pragma once
// Writes a RAR 5 archive to an open file, entry by entry, streaming each entry's data.
#include <cstdint>
#include <functional>
#include <string>

#include "Rar5Blocks.h"

namespace archiver {

// Fills `buffer` with up to `size` bytes of an entry's data; 0 at the end. Raises an error
// naming its file when the data cannot be read.
using DataReader = std::function<size_t(char* buffer, size_t size)>;
// Told the bytes of the current entry written so far.
using ProgressSink = std::function<void(uint64_t done, uint64_t total)>;

class ArchiveWriter {
  public:
    // `fd` is open for writing at its start; `path` names it in errors.
    ArchiveWriter(int fd, std::string path);

    void Begin();
    // Writes the header of `entry` (entry.size bytes announced), the data from `read`, and the
    // header again with the data's CRC. Raises an error when the data does not have the
    // announced size or cannot be written.
    void AddFile(EntryHeader entry, const DataReader& read, const ProgressSink& progress = {});
    void AddDirectory(const EntryHeader& entry);
    void Finish();

  private:
    void Write(const char* data, size_t size);
    void Write(const std::string& bytes) { Write(bytes.data(), bytes.size()); }
    void WriteAt(const std::string& bytes, uint64_t offset);

    int fd_;
    std::string path_;
    uint64_t offset_ = 0;
};

}  // namespace archiver
