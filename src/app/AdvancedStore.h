#pragma once
// The advanced options kept between program runs: section "TformAdvanced" of "movrex.ini" in the
// user's configuration folder, one key per control value. A key that is missing, or whose value
// is not one the control can take, leaves that control as it is; nothing else of the file is
// touched when the values are written back.
#include <cstdint>
#include <optional>
#include <string>

#include "app/AdvancedSettings.h"
#include "platform/profile.h"

inline constexpr const char* kAdvancedSection = "TformAdvanced";

// The values found in the file, in the order they are restored.
struct TStoredAdvanced {
    std::optional<bool> ForcedSubs;          // "cbForcedSubs_Checked"
    std::optional<bool> ExternalSubs;        // "cbExternalSubs_Checked"
    std::optional<int32_t> WidthText;        // "edWidth_Text"
    std::optional<int32_t> AudioIndex;       // "rgAudio_ItemIndex"
    std::optional<int32_t> CodecIndex;       // "rgCodec_ItemIndex"
    std::optional<int32_t> ResolutionIndex;  // "rgResolution_ItemIndex"
    std::optional<int32_t> Bitrate;          // "spinBitrate_Value"
    std::optional<int32_t> WidthPosition;    // "udWidth_Position"
};

// ConfigFolder() + "/movrex.ini".
std::string AdvancedIniPath();

TStoredAdvanced ReadStoredAdvanced(const platform::IniFile& ini);
// False when the file could not be written; what it held before is then left as it was.
bool WriteStoredAdvanced(platform::IniFile& ini, const TAdvancedValues& values);

// The dialog's defaults with the stored values in their place, brought into the limits their
// width and audio modes set; without the rules that need the installation or a user (codec,
// archiver), which run when the values are used.
TAdvancedValues WithStored(TAdvancedValues values, const TStoredAdvanced& stored);
// WithStored of the dialog's defaults and the values in AdvancedIniPath().
TAdvancedValues StoredAdvancedDefaults();
