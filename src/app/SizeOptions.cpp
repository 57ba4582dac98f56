#include "app/SizeOptions.h"

#include <algorithm>

int32_t FindPredefinedSize(const std::string& text) {
    for (size_t i = 0; i < kPredefinedSizes.size(); ++i)
        if (text == kPredefinedSizes[i].Text) return static_cast<int32_t>(i);
    return -1;
}

int32_t ClampToRange(int32_t value, int32_t min, int32_t max) {
    return std::clamp(value, min, max);
}

TSizeControls SizeControlsFor(TSizeOption option) {
    TSizeControls controls;
    controls.Predefined = option == TSizeOption::Predefined;
    controls.CustomSize = option == TSizeOption::Custom;
    controls.Quality = option == TSizeOption::Quality;
    return controls;
}

void StoreSizeSettings(const TSizeChoice& choice, TEncRecord& settings) {
    switch (choice.Option) {
        case TSizeOption::Predefined: {
            const int32_t item = ClampToRange(choice.Predefined, 0, kPredefinedSizes.size() - 1);
            settings.QualityMode = false;
            settings.TargetSize = kPredefinedSizes[item].TargetSize;
            break;
        }
        case TSizeOption::Custom:
            settings.QualityMode = false;
            settings.TargetSize = ClampToRange(choice.CustomSize, kCustomSizeMin, kCustomSizeMax);
            break;
        case TSizeOption::Quality:
            settings.QualityMode = true;
            settings.Quality = ClampToRange(choice.Quality, kQualityMin, kQualityMax);
            settings.TargetSize = 1;
            break;
    }
}
