#pragma once
// Pieces shared by the files that copy and write: a fresh temporary file beside a target, and
// writing a whole buffer through a descriptor.
#include <cstddef>
#include <string>

namespace platform::files_internal {

struct TempFile {
    int fd = -1;       // open for writing; -1 when no file could be made
    std::string path;  // where it lies, in the target's folder
};

// Creates a new, empty file in the folder of `target` with a name no other file has, opened for
// writing with `mode` (the umask applies). The caller closes it and renames or removes it.
TempFile CreateTempBeside(const std::string& target, unsigned mode);

// Writes all `size` bytes, retrying short writes and interruptions. False on any error.
bool WriteAll(int fd, const char* data, std::size_t size);

// Reads to the end of the descriptor, appending to `text`, retrying interruptions. False on a
// read error.
bool ReadAll(int fd, std::string& text);

// The folder part of a path ("." for a bare name, "/" for a name in the root).
std::string FolderOf(const std::string& path);

}  // namespace platform::files_internal
