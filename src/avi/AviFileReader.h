#pragma once
// Read-only access to one file by absolute position, with a small block cache: the structure
// scan reads many four-byte codes close together, and the index readers read long runs.
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace avi {

class TAviFileReader {
  public:
    // Opens a regular file for reading. On failure returns false and Problem() says why.
    // Linux has no share modes, so other writers cannot be shut out; the file is only read.
    bool Open(const std::string& path);
    void Close();
    bool IsOpen() const { return in_.is_open(); }
    int64_t Size() const { return size_; }
    const std::string& Problem() const { return problem_; }

    // Copies up to `n` bytes starting at `pos`; returns how many were copied (fewer only at the
    // end of the file or when the system refuses the read).
    size_t ReadAt(int64_t pos, void* dst, size_t n);
    // True when all `n` bytes could be read.
    bool ReadExact(int64_t pos, void* dst, size_t n) { return ReadAt(pos, dst, n) == n; }

  private:
    bool Fill(int64_t pos);

    std::ifstream in_;
    int64_t size_ = 0;
    std::string problem_;
    std::vector<char> block_;
    int64_t blockPos_ = 0;
    size_t blockLen_ = 0;
};

}  // namespace avi
