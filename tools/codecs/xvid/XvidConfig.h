#pragma once
// Everything one XviD run is configured by: the values of "Software\GNU\XviD" that the module
// reads (README.md says what each does), in the units they are stored in.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace mxcodec {

enum XvidMode : int32_t {
    kXvidSinglePass = 0,  // every frame at desired_quant / 100
    kXvidFirstPass = 1,   // writes the statistics file
    kXvidSecondPass = 2,  // reads it and reaches desired_size KiB
};

// A stretch of frames from `frame` to the next zone's first frame.
struct XvidZone {
    int32_t frame = 0;
    int32_t mode = 0;           // 0 weight, 1 fixed quantizer
    int32_t weight = 100;       // percent of the bits the frames would get otherwise
    int32_t quant = 500;        // fixed quantizer x 100
    int32_t type = 0;           // kept, unused
    int32_t greyscale = 0;      // code the zone without colour
    int32_t chromaOpt = 1;      // chroma optimisation before coding
    int32_t bvopThreshold = 0;  // bias for and against B-frames
};

inline constexpr int kMaxXvidZones = 64;
inline constexpr size_t kMaxStatsPath = 1024;

using XvidMatrix = std::array<uint8_t, 64>;

struct XvidConfig {
    int32_t mode = kXvidSinglePass;
    int32_t desiredQuant = 400;
    int32_t desiredSize = 716800;  // KiB
    std::string stats;
    int32_t minQuant[3] = {2, 2, 2};  // I, P, B
    int32_t maxQuant[3] = {31, 31, 31};
    int32_t useBvop = 1;
    int32_t maxBframes = 1;
    int32_t bquantRatio = 150;
    int32_t bquantOffset = 100;
    int32_t maxKeyInterval = 300;
    int32_t closedGov = 1;
    int32_t packed = 0;
    int32_t quantType = 0;  // 0 H.263, 1 MPEG, 2 MPEG with the two matrices below
    int32_t hasMatrices = 0;
    XvidMatrix intraMatrix{};
    XvidMatrix interMatrix{};
    int32_t cartoon = 0;
    int32_t vhq = 1;
    int32_t trellis = 0;
    int32_t chromaMe = 1;
    int32_t motionSearch = 6;
    int32_t qpel = 0;
    int32_t gmc = 0;
    int32_t interlacing = 0;
    int32_t lumMasking = 0;
    int32_t frameDropRatio = 0;
    int32_t turbo = 0;
    int32_t keyframeBoost = 10;
    int32_t kfReduction = 20;
    int32_t kfThreshold = 1;
    int32_t curveHigh = 0;
    int32_t curveLow = 0;
    int32_t overflowStrength = 5;
    int32_t overflowImprovement = 5;
    int32_t overflowDegradation = 5;
    int32_t profile = 0xf5;  // AS @ L5
    int32_t fourccUsed = 0;  // 0 XVID, 1 DIVX, 2 DX50
    std::vector<XvidZone> zones = {XvidZone{}};

    bool operator==(const XvidConfig&) const = default;
};

}  // namespace mxcodec
