#pragma once
// The VOB files of one title set read as one byte stream: the first VOB given and its followers
// (VTS_01_1.VOB, VTS_01_2.VOB, ...). A place in the stream is one offset over all files; a
// StreamPosition says which file and where in it.
#include <cstdint>
#include <string>
#include <vector>

#include "media/MediaError.h"

namespace media {

struct VobFile {
    std::string path;
    int64_t size = 0;
};

struct StreamPosition {
    int file = 0;        // index into VobSequence::files
    int64_t offset = 0;  // byte offset in that file
    bool operator==(const StreamPosition&) const = default;
};

class VobSequence {
  public:
    VobSequence() = default;
    // The files in order; each must be a readable regular file (MediaError otherwise).
    explicit VobSequence(const std::vector<std::string>& paths);

    const std::vector<VobFile>& Files() const { return files_; }
    int64_t TotalSize() const { return total_; }
    // Offset of the first byte of file `i` in the whole stream.
    int64_t StartOf(int i) const { return starts_.at(i); }
    // The file and offset of a stream offset (an offset at the very end names the last file's
    // end).
    StreamPosition PositionOf(int64_t offset) const;
    int64_t OffsetOf(const StreamPosition& position) const;
    // "VTS_01_2.VOB at offset 4096", for messages.
    std::string Describe(int64_t offset) const;

  private:
    std::vector<VobFile> files_;
    std::vector<int64_t> starts_;
    int64_t total_ = 0;
};

// The first VOB and the files that follow it by number in the same folder (the letter case of
// the names on disk does not matter). A file missing in the middle ends the sequence there: the
// files after the gap are named in a warning and not read. A first VOB whose name has no
// "_<number>" before its extension, or whose number is 0 (the menu), is read alone.
// MediaError when the first VOB is missing or unreadable.
VobSequence FindVobSequence(const std::string& firstVob, const WarningSink& warn);

}  // namespace media
