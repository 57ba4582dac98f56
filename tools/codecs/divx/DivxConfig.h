#pragma once
// Everything one DivX run is configured by: the values of "Software\DivXNetworks\DivX4Windows"
// that the module reads (README.md says what each does), in the units they are stored in.
#include <cstdint>
#include <string>

namespace mxcodec {

enum DivxMode : int32_t {
    kDivxQuality = 1,     // every frame at "VBR Quality v5" / 10
    kDivxFirstPass = 2,   // writes the log file
    kDivxSecondPass = 3,  // reads it and reaches "Bitrate"
};

inline constexpr size_t kMaxLogPath = 1024;

struct DivxConfig {
    int32_t mode = kDivxQuality;
    int32_t quality = 40;  // quantizer x 10
    int32_t bitrate = 1000000;
    int32_t bidirectional = 1;
    int32_t maxKeyInterval = 300;
    int32_t effort = 5;  // "Quality": 0 fastest .. 5 best
    int32_t quarterPel = 0;
    int32_t interlaced = 0;
    std::string logFile;

    bool operator==(const DivxConfig&) const = default;
};

}  // namespace mxcodec
