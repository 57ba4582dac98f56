#pragma once
// The reading of the analysis log: one "<combed>-<moving>" line per served frame, walked in
// windows of five frames, three per 18-line block. The counts decide whether the source is
// progressive, interlaced, FILM or a hybrid; the combed pairs found become the Trim list of the
// hybrid threshold test.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct TInterlaceCounts {
    int64_t CombedInMotion = 0;
    int64_t CleanInMotion = 0;
    int64_t Interlaced = 0;  // windows
    int64_t Progressive = 0;
    int64_t Telecined = 0;

    bool operator==(const TInterlaceCounts&) const = default;
};

// Classifies frames i..i+4 of `lines` with i-2, i-1 and i+5 as context (the caller keeps those
// inside the lines). Returns the position (1..5) of the second frame of a combed pair, or 0.
int32_t ClassifyWindow(const std::vector<std::string>& lines, size_t i, TInterlaceCounts& counts);

struct TInterlaceWalk {
    TInterlaceCounts Counts;
    std::string TrimList;  // "Trim(a,b)+" pieces, the last "+" included
};
TInterlaceWalk WalkWindows(const std::vector<std::string>& lines);

// combed / (combed + clean) of the frames in motion; 0 when none moved.
double CombingRatio(const TInterlaceCounts& counts);

struct TInterlaceVerdict {
    uint8_t SourceType = 0;
    std::string Message;              // "Source is considered to be ..."
    std::vector<std::string> Shares;  // NTSC: the three pattern shares, for the job log file
};
// `percent` formats a share × 100 as the log writes numbers.
TInterlaceVerdict DecideSource(const TInterlaceCounts& counts, double ratio, bool ntsc,
                               const std::function<std::string(double)>& percent);
