#pragma once
// Step 3 of the main window: a predefined size, a custom size in megabytes or a target quality,
// and how the choice becomes the size fields of a job.
#include <array>
#include <cstdint>
#include <string>

#include "jobs/globals.h"

struct TPredefinedSize {
    const char* Text;
    int32_t TargetSize;  // MB; 0 = no size limit
};

inline constexpr std::array<TPredefinedSize, 12> kPredefinedSizes = {{
    {"1/4 CD (175Mb)", 175},
    {"1/3 CD (233Mb)", 233},
    {"1/2 CD (350Mb)", 350},
    {"1 CD (700 Mb)", 700},
    {"2 CDs (1400 Mb)", 1400},
    {"3 CDs (2100 Mb)", 2100},
    {"1/6 DVDR (746 Mb)", 746},
    {"1/5 DVDR (896 Mb)", 896},
    {"1/4 DVDR (1120 Mb)", 1120},
    {"1/3 DVDR (1493 Mb)", 1493},
    {"2Gb (max for DVDRs)", 2047},
    {"Maximum Quality (unlimited size)", 0},
}};
inline constexpr int32_t kDefaultPredefinedSize = 4;  // "2 CDs (1400 Mb)"

inline constexpr int32_t kCustomSizeMin = 1;
inline constexpr int32_t kCustomSizeMax = 10000;
inline constexpr int32_t kCustomSizeDefault = 1400;
inline constexpr int32_t kQualityMin = 10;
inline constexpr int32_t kQualityMax = 100;
inline constexpr int32_t kQualityDefault = 75;

// The items of the radio group " Select an option: ", in order.
enum class TSizeOption : int32_t { Predefined = 0, Custom = 1, Quality = 2 };

struct TSizeChoice {
    TSizeOption Option = TSizeOption::Predefined;
    int32_t Predefined = kDefaultPredefinedSize;  // position in kPredefinedSizes
    int32_t CustomSize = kCustomSizeDefault;
    int32_t Quality = kQualityDefault;
};

// Position of the predefined size with exactly this text; -1 when there is none.
int32_t FindPredefinedSize(const std::string& text);

// Number fields hold their value inside their range.
int32_t ClampToRange(int32_t value, int32_t min, int32_t max);

// Which of the three size controls is usable for the selected option.
struct TSizeControls {
    bool Predefined = false;
    bool CustomSize = false;
    bool Quality = false;
};
TSizeControls SizeControlsFor(TSizeOption option);

// The size fields of a job: TargetSize, QualityMode and Quality.
void StoreSizeSettings(const TSizeChoice& choice, TEncRecord& settings);
