// Open on arbitrary bytes: it must end, say false or true, and leave an index that the split
// search can walk.
// clang-format off
// fuzz-sources: src/avi/AviFormat.cpp src/avi/AviFileReader.cpp src/avi/AviStructure.cpp src/avi/AviIndexRead.cpp src/avi/AviSplit.cpp
// clang-format on
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "avi/AviSplit.h"

namespace {

// One file per fuzzing process, rewritten for every input: the file-based Open is what runs.
const std::string& InputPath() {
    static const std::string path = [] {
        char name[] = "/tmp/avisplit-fuzz-XXXXXX";
        const int fd = mkstemp(name);
        if (fd < 0) abort();
        close(fd);
        return std::string(name);
    }();
    return path;
}

struct RemoveAtExit {
    ~RemoveAtExit() { std::remove(InputPath().c_str()); }
} removeAtExit;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Removed first: rewriting a file in place makes the file system flush it on close.
    std::remove(InputPath().c_str());
    FILE* f = std::fopen(InputPath().c_str(), "wb");
    if (!f) abort();
    if (size && std::fwrite(data, 1, size, f) != size) abort();
    std::fclose(f);

    TAVISplitSearch search;
    if (!search.Open(InputPath())) {
        if (search.LastError().empty()) abort();
        return 0;
    }
    int64_t frames = 0;
    for (const auto& e : search.Index()) {
        frames += e.IsVideo();
        if (e.Offset + int64_t(e.Size) > search.FileSize()) abort();
    }
    int32_t start = 0;
    for (int part = 0; part < 4; ++part) {
        const int32_t next = search.FindSplitFrame(start, 1 + part % 2);
        if (next < 0 || next > frames || (next <= start && start < frames)) abort();
        start = next;
    }
    return 0;
}
