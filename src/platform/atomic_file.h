#pragma once
// Whole-file reading, atomic replacement and an exclusive lock file: what the registry hives and
// the INI profiles need to be rewritten safely while other processes read and write them.
#include <cstddef>
#include <string>

namespace platform::detail {

enum class ReadStatus { Ok, Missing, Failed };

// Reads the whole regular file. Missing: it does not exist. Failed: `error` names the file and
// the reason (unreadable, a folder, larger than `limit` bytes).
ReadStatus ReadWholeFile(const std::string& path, std::string& text, std::string& error,
                         size_t limit);

// Creates the folder that will hold `path` when it is missing.
bool CreateFolderFor(const std::string& path, std::string& error);

// Replaces `path` by `text`: writes "<path>.tmp", flushes it to disk and renames it over `path`,
// so that a reader sees the old or the new file, never half of one. The permissions of an
// existing file are kept. On failure the old file is untouched and the temporary file removed.
// Callers hold a FileLock so that no two writers share the temporary name.
bool SaveFileAtomically(const std::string& path, const std::string& text, std::string& error);

// An exclusive advisory lock on a lock file, held for the life of the object. Waits for another
// holder, but gives up after `timeoutMs` so that a stuck process cannot hang every writer.
class FileLock {
  public:
    explicit FileLock(const std::string& lockPath, int timeoutMs = 60000);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    bool Locked() const { return fd_ >= 0; }
    const std::string& Error() const { return error_; }

  private:
    int fd_ = -1;
    std::string error_;
};

}  // namespace platform::detail
