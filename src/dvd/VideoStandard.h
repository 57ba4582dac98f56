#pragma once
// The television standards as both routes record them. The NTSC rate is recorded as 29.997, not
// 29.97: the later stages compute with the recorded value.
#include "dvd/VobInfo.h"

inline void SetPal(TVideoInfo& video) {
    video.IsNTSC = false;
    video.Standard = "PAL";
    video.FrameRate = 25.0;
}

inline void SetNtsc(TVideoInfo& video) {
    video.IsNTSC = true;
    video.Standard = "NTSC";
    video.FrameRate = 29.997;
}
