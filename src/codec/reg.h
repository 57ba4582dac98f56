#pragma once
// The settings of one codec run, filled by the stages and written to the codec's registry key
// right before the run.
#include <cstdint>
#include <string>

struct TXviDCodecParams {
    int32_t BFrames = 0;  // 1 on, -1 off
    int32_t MinIQuant = 0;
    int32_t MaxIQuant = 0;
    int32_t MinPQuant = 0;
    int32_t MaxPQuant = 0;
    int32_t DesiredSize = 0;  // KiB
    int32_t Mode = 0;
    std::string StatsFile;
    int32_t MatrixType = 0;
    int32_t MaxKeyInterval = 0;
    int32_t QualityLevel = 0;
    bool FixedQuant2 = false;
    int32_t CreditsFrame = 0;  // 0 or less: no credits zone
    bool Cartoon = false;
    int32_t CreditsWeight = 0;
    bool CreditsGreyscale = false;

    bool operator==(const TXviDCodecParams&) const = default;
};

struct TDivXCodecParams {
    int32_t Bidirectional = 0;
    int32_t TargetBitrate = 0;  // bit/s
    int32_t VbrMode = 0;
    std::string LogFile;
    std::string MvFile;
    int32_t MaxKeyInterval = 0;
    int32_t VbrQuality = 0;

    bool operator==(const TDivXCodecParams&) const = default;
};
