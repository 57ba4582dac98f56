#pragma once
// The size budget's arithmetic: what the AVI's audio, container overhead and external subtitles
// take from the target, and the bitrate the video is left with. Sizes in bytes; the overhead is
// counted in units of 128 bytes.
#include <cstdint>

inline constexpr int64_t kMegabyte = 1048576;

// 25 for PAL; for NTSC 29.97 when the output keeps the video frame rate (progressive,
// interlaced, hybrid mostly video), else 23.976.
double OutputFrameRate(bool isNtsc, uint8_t sourceType);

struct TBudgetInput {
    int32_t TargetSize = 0;  // MB
    bool HasAudio = false;   // a first track was chosen
    uint8_t AudioMode = 0;   // as resolved: 1 AC3, 2 VBR MP3, 3 CBR MP3
    bool AutoAudio = false;
    uint8_t Audio2Mode = 0;  // the second track's coding, as the audio stage left it
    int64_t AudioSize = 0;   // bytes of the first and second encoded track (0 when none)
    int64_t Audio2Size = 0;
    bool DivX = false;
    double FrameRate = 25;
    int64_t FrameCount = 0;
    int64_t SubtitleSize = 0;
};

struct TBudget {
    int64_t OverheadUnits = 0;
    int64_t VideoSize = 0;    // may be below 1: nothing left for the video
    int32_t DesiredSize = 0;  // KiB
    double Bitrate = 0;       // kbit/s
};

// The overhead of the audio streams' chunks, for one track of `audioMode`.
int64_t AudioOverheadUnits(uint8_t audioMode, int64_t frameCount, double frameRate);
// The whole overhead: audio (both tracks) and the DivX container share.
int64_t OverheadUnits(const TBudgetInput& in);
TBudget ComputeVideoBudget(const TBudgetInput& in);
