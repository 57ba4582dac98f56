#pragma once
// The picture and codec decisions as pure functions: the settings every job starts from, the
// output height for a width, and the step-by-step adjustment after the compressibility test.
// The stages feed them the run's fields and log the messages they return.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "codec/reg.h"
#include "jobs/globals.h"

inline constexpr const char* kLanczosTemplate = "LanczosResize(%s,%s)";
inline constexpr const char* kBicubicTemplate = "BicubicResize(%s,%s,0,0.5)";

// PAL 128/117, NTSC 72/79, each times 4/3 for a 16:9 picture.
double PixelAspectFor(bool ntsc, bool widescreen);

// Width, resizer and codec values every job starts from. Throws std::invalid_argument for a
// quality percentage outside 1..100 in quality mode.
struct TStartSettings {
    int32_t OutWidth = 0;
    std::string ResizeTemplate;
};
TStartSettings ChooseStartSettings(const TEncRecord& settings, bool newXviD, TXviDCodecParams& xvid,
                                   TDivXCodecParams& divx);

// The credits zone from the lines of the ".credits" file; `filmOutput` when the output runs at
// 23.976 (the frame number is scaled to it). A file of 2 lines or fewer sets nothing. The log
// lines go to `messages`. Throws std::runtime_error naming `path` for a line that is not a
// number or a boolean.
void ReadCreditsLines(const std::vector<std::string>& lines, bool filmOutput,
                      const std::string& path, TXviDCodecParams& xvid,
                      std::vector<std::string>& messages);

// round(width / aspect), moved to a multiple of 16 (up when the remainder is above 4).
int32_t HeightFor(int32_t width, double aspect);

// What switching B-frames off, the softer matrix or the softer resizer does to the predicted
// compressibility: DivX's own, XviD's by the installed XviD and the ".ess" marker.
struct TCorrectionFactors {
    double BFrames = 0;
    double Matrix = 0;
    double Resizer = 0;

    bool operator==(const TCorrectionFactors&) const = default;
};
TCorrectionFactors CorrectionFactors(uint8_t codec, bool newXviD, bool essMarker);

// What the adjustment works on and changes.
struct TAdjustState {
    double R = 0;  // predicted compressibility
    int32_t Width = 0;
    std::string ResizeTemplate;
    int32_t MatrixType = 0;     // XviD
    int32_t BFrames = 0;        // XviD
    int32_t Bidirectional = 0;  // DivX
    std::vector<std::string> Messages;
};

struct TAdjustInputs {
    uint8_t Codec = kCodecXviD;
    int32_t TargetSize = 0;
    uint8_t ResizeMode = kResizeAuto;
    int32_t TargetWidth = 0;
    double Aspect = 0;
    double BFramesFactor = 0;  // f (DivX: 0.818)
    double MatrixFactor = 0;   // g (XviD only)
    double ResizerFactor = 0;  // e (DivX: 0.938)
    // The prediction for a width; every change of width replaces R with it.
    std::function<double(int32_t)> Predict;
};

void AdjustAfterTest(const TAdjustInputs& in, TAdjustState& s);
