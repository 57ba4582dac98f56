#pragma once
// The settings of one codec run, filled by the stages and written to the codec's registry key
// right before the run.
#include <array>
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

// The codec modes of the runs: TXviDCodecParams::Mode in the split-core and the older XviD
// layout, TDivXCodecParams::VbrMode.
struct TCodecModes {
    int32_t XviDCore = 0;
    int32_t XviDLegacy = 0;
    int32_t DivX = 0;
};
inline constexpr TCodecModes kOnePassModes{0, 1, 1};  // at a quantizer or a quality
inline constexpr TCodecModes kFirstPassModes{1, 3, 2};
inline constexpr TCodecModes kSecondPassModes{2, 5, 3};

// ---- Writers. Each opens its key below the current user's root (creating it), writes, closes
// it. A value that cannot be written raises platform::RegistryError
// "Failed to set data for '<name>'", which ends the writer.

inline constexpr const char* kDivXKey = "Software\\DivXNetworks\\DivX4Windows";
inline constexpr const char* kXviDKey = "Software\\GNU\\XviD";

// The fixed values that put each codec into a known state.
void WriteDivXDefaults();
void WriteXviDCoreDefaults();
void WriteXviDLegacyDefaults();

// The defaults, then the run's values (a later write of a name wins over an earlier one).
// With `essMarker` (the installation's ".ess" marker) the XviD writers write MatrixType as the
// plain quantizer type and no matrices.
void WriteDivXSettings(const TDivXCodecParams& params);
void WriteXviDCoreSettings(const TXviDCodecParams& params, bool essMarker);
void WriteXviDLegacySettings(const TXviDCodecParams& params, bool essMarker);

// Before every codec run: XviD (codec 0) in the split-core layout when `newXviD`, else in the
// older one; DivX (codec 1). std::invalid_argument for another codec.
void WriteCodecSettings(uint8_t codec, bool newXviD, const TXviDCodecParams& xvid,
                        const TDivXCodecParams& divx, bool essMarker);

// The two custom quantizer matrix sets (0 softer, 1 sharper), 64 bytes each in stored order.
using TQuantMatrix = std::array<uint8_t, 64>;
const TQuantMatrix& XviDInterMatrix(int set);  // set 0 or 1
const TQuantMatrix& XviDIntraMatrix();         // the same for both sets
