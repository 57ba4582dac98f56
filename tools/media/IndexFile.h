#pragma once
// The index file (".d2v") as text: written by the indexer, read by the decoder. The layout is
// documented in tools/indexer/README.md; the planner reads and rewrites some of its lines.
#include <string>
#include <vector>

#include "media/VideoIndex.h"

namespace media {

struct IndexFile {
    int fieldOperation = 0;  // 0 none, 1 forced FILM, 2 swapped field order, 3 raw frames
    int frameRate = 0;       // frames per 1000 s: 29970, 25000, 23976 ...
    std::string options;     // the command line's options, recorded
    std::vector<std::string> files;
    VideoIndex video;
    double filmPercent = 0;
};

inline constexpr const char* kIndexMagic = "MovrexIndex 1";
inline constexpr const char* kFieldOperationNames = "(0:None 1:ForcedFILM 2:SwapOrder 3:RawFrames)";
inline constexpr const char* kEndOfStreamItem = "ff";

// Frames per 1000 s of a frame rate code, rounded (4 -> 29970).
int FrameRateTimes1000(int frameRateCode);

// The whole file, lines ending in CR LF.
std::string IndexText(const IndexFile& index);
// MediaError naming the file and line when the text is not a whole index.
IndexFile ParseIndexText(const std::string& text, const std::string& path);
IndexFile ReadIndexFile(const std::string& path);

}  // namespace media
