#pragma once
// What the run reads from and changes in the lines of the index file: the FILM percentage of
// the last line, the field operation near the top, the frame entries between the second empty
// line and the end. Every function names `path` in its error when the lines lack what it needs.
#include <cstdint>
#include <string>
#include <vector>

using TIndexLines = std::vector<std::string>;

// The third blank-separated item of the last line without its "%" ("99.83%" gives 99.83).
double FilmPercentOf(const TIndexLines& lines, const std::string& path);

// Replaces the first "Field_Operation" line among the first 31 by `fieldOperation` and, with a
// non-empty `frameRate`, the line after it. False when no such line is there.
bool SetFieldOperation(TIndexLines& lines, const std::string& fieldOperation,
                       const std::string& frameRate, const std::string& path);

inline constexpr const char* kForcedFilmOperation =
    "Field_Operation=1 (0:None 1:ForcedFILM 2:SwapOrder 3:RawFrames)";
inline constexpr const char* kSwapOrderOperation =
    "Field_Operation=2 (0:None 1:ForcedFILM 2:SwapOrder 3:RawFrames)";
inline constexpr const char* kFilmFrameRate = "Frame_Rate=23976";

// The frames the index lists: per entry line, its items beyond the first five; minus one.
int64_t CountIndexFrames(const TIndexLines& lines, const std::string& path);

// The output frame count after pulldown and the key-frame interval for the source.
struct TFrameEstimate {
    int64_t FrameCount = 0;
    int32_t MaxKeyInterval = 0;
};
TFrameEstimate EstimateFrames(int64_t indexFrames, uint8_t sourceType, double filmPercent,
                              bool pal);
