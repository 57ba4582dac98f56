#pragma once
// The arithmetic of cutting the finished AVI into CD-sized parts.
#include <cstdint>
#include <string>

inline constexpr int64_t kSplitSlack = 2097152;  // a part may overshoot by this much
inline constexpr int32_t kSplitSearchMiB = 700;  // the size handed to the split-point search

// The size of one part for 1400 MB (two CDs) and 2100 MB (three CDs), less each part's share of
// the external subtitles; 0 for any other target, which is never split.
int32_t PartSizeFor(int32_t targetSize, int64_t subtitleSize);

// "<output without extension>.cd<n>.avi".
std::string PartFileName(const std::string& outputFile, int32_t part);

// The subtitle cutter's time of frame `endFrame` at `frameRate`: "HH:MM:SS.mmm".
std::string SubtitleTimeText(int64_t endFrame, double frameRate);
inline const char* const kFirstPartStart = "0:0:0.0";
