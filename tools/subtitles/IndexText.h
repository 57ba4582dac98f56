#pragma once
// The text index of a subtitle pair: a header of settings lines, then one block per stream
// ("id: en, index: 0") listing each subpicture's time and the position of its first pack in the
// bitmap file ("timestamp: 00:01:02:345, filepos: 000001800").
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace subtitles {

struct IndexEntry {
    int64_t timeMs = 0;
    uint64_t filepos = 0;
};

struct IndexStream {
    std::string language;  // as written after "id:"; "--" when unknown
    int number = 0;        // the sub-stream number (0..31) written after "index:"
    std::vector<IndexEntry> entries;
};

struct SubtitleIndex {
    std::vector<std::string> header;  // lines before the first stream, without line ends
    std::vector<IndexStream> streams;
};

// The first line every index starts with; readers recognise the format by it.
inline constexpr const char* kIndexSignature = "# VobSub index file, v7 (do not modify this line!)";

// The settings lines of a new index, signature first.
std::vector<std::string> NewIndexHeader(int width, int height,
                                        const std::array<uint32_t, 16>& palette, int langidx);

// The whole file, lines ended with CR LF.
std::string IndexText(const SubtitleIndex& index);

// Reads an index. Raises an error naming `name` when the text is not an index; lines it cannot
// read (a time stamp without a position, a stream number out of range) are skipped with a
// warning.
SubtitleIndex ParseIndex(const std::string& text, const std::string& name,
                         std::vector<std::string>& warnings);

}  // namespace subtitles
