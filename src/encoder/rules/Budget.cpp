#include "encoder/rules/Budget.h"

#include "jobs/globals.h"
#include "scripts/SourceType.h"
#include "util/rounding.h"

double OutputFrameRate(bool isNtsc, uint8_t sourceType) {
    if (!isNtsc) return 25;
    const bool videoRate =
        sourceType == stProgressive || sourceType == stInterlaced || sourceType == stHybridVideo;
    return videoRate ? 29.97 : 23.976;
}

int64_t AudioOverheadUnits(uint8_t audioMode, int64_t frameCount, double frameRate) {
    const double frames = double(frameCount);
    switch (audioMode) {
        case kAudioCbrMp3:
            return RoundHalfEven(frames / 2 * 0.185546875);
        case kAudioAC3:
            return RoundHalfEven(double(RoundHalfEven(frames / frameRate * 1000 / 96)) * 16 / 128);
        case kAudioVbrMp3:
            return RoundHalfEven(double(frameCount * 320) / 1024);
        default:
            return 0;
    }
}

int64_t OverheadUnits(const TBudgetInput& in) {
    int64_t u = 0;
    if (in.HasAudio) {
        u = AudioOverheadUnits(in.AudioMode, in.FrameCount, in.FrameRate);
        if (in.Audio2Size > 0) {
            // The automatic choice makes the second track VBR MP3 whatever the first is, and so
            // does a second track that cannot go in as it is.
            const bool vbr2 = in.AutoAudio || in.Audio2Mode == kAudioVbrMp3;
            u = vbr2 ? u + AudioOverheadUnits(kAudioVbrMp3, in.FrameCount, in.FrameRate) : u * 2;
        }
    }
    if (in.DivX) u += RoundHalfEven(double(in.FrameCount) * 0.19140625 + 23.086);
    return u;
}

TBudget ComputeVideoBudget(const TBudgetInput& in) {
    TBudget b;
    b.OverheadUnits = OverheadUnits(in);
    b.VideoSize = int64_t(in.TargetSize) * kMegabyte - 128 * b.OverheadUnits - in.AudioSize -
                  in.Audio2Size - in.SubtitleSize;
    b.DesiredSize = int32_t(RoundHalfEven(double(b.VideoSize) / 1024));
    b.Bitrate = (double(b.VideoSize) / 125) / (double(in.FrameCount) / in.FrameRate);
    return b;
}
