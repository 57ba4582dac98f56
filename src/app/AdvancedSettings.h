#pragma once
// The advanced options as the main window needs them: whether external subtitles are ticked (the
// subtitle rules read the box itself) and StoreAdvancedSettings, which "Add Job" and "Preview"
// run. The options dialog provides both; until it exists, and in the headless program, a plain
// set of control values stands in for it.
#include <cstdint>

#include "app/Dialogs.h"
#include "jobs/ProgramValues.h"
#include "jobs/globals.h"

// The dialog's control values, with the dialog's defaults.
struct TAdvancedValues {
    int32_t ResolutionIndex = 0;  // "Auto width", "Minimum width", "Fixed width"
    int32_t Width = 640;          // 32 to 1024 (640 with "Minimum width") in steps of 16
    int32_t AudioIndex = 0;       // "Auto (AC3/VBR MP3)", "AC3", "VBR MP3", "CBR MP3"; -1 none
    int32_t Bitrate = 128;        // 64 (80 for VBR) to 320 in steps of 16
    int32_t CodecIndex = -1;      // "XviD", "DivX 5"; -1 none
    bool ForcedSubs = false;
    bool ExternalSubs = false;

    bool operator==(const TAdvancedValues&) const = default;
};

inline constexpr int32_t kWidthMin = 32;
inline constexpr int32_t kWidthMax = 1024;
inline constexpr int32_t kMinimumWidthMax = 640;
inline constexpr int32_t kWidthStep = 16;
inline constexpr int32_t kBitrateMin = 64;
inline constexpr int32_t kVbrBitrateMin = 80;
inline constexpr int32_t kBitrateMax = 320;
inline constexpr int32_t kBitrateStep = 16;

inline constexpr const char* kXviDMissingMessage =
    "XviD is not installed. DivX will be used instead.";
inline constexpr const char* kDivXMissingMessage =
    "DivX is not installed. XviD will be used instead.";
inline constexpr const char* kRarMissingMessage =
    "WinRAR is not found. You cannot use this option without it.";
inline constexpr const char* kExternalSubsQuestion =
    "External subsitles cannot be played on standalone players. Are you sure you want to enable "
    "them?";

// The advanced fields of `settings` from the control values.
void StoreAdvancedValues(const TAdvancedValues& values, TEncRecord& settings);

// The rules the dialog applies when a group changes: a codec that is not installed gives way to
// the other with a message, and no choice becomes the installed one; "Minimum width" caps the
// width at 640; VBR raises the bitrate to at least 80.
void ApplyCodecRule(TAdvancedValues& values, const TProgramValues& program, IDialogs& dialogs);
void ApplyResolutionRule(TAdvancedValues& values);
void ApplyAudioRule(TAdvancedValues& values);
// Ticking external subtitles needs the archiver; without it the message, and the box unticked.
// With the archiver, a user who ticked the box on screen (`ask`) is asked to confirm, and No
// unticks it. Returns whether the box stays ticked.
bool ApplyExternalSubsRule(TAdvancedValues& values, const TProgramValues& program,
                           IDialogs& dialogs, bool ask = false);

class IAdvancedSettings {
  public:
    virtual ~IAdvancedSettings() = default;
    virtual bool ExternalSubsTicked() const = 0;
    virtual void StoreAdvancedSettings(TEncRecord& settings) = 0;
};

// Control values without a dialog.
class TAdvancedSettingsValues : public IAdvancedSettings {
  public:
    TAdvancedSettingsValues() = default;
    explicit TAdvancedSettingsValues(const TAdvancedValues& values) : Values(values) {}
    bool ExternalSubsTicked() const override { return Values.ExternalSubs; }
    void StoreAdvancedSettings(TEncRecord& settings) override {
        StoreAdvancedValues(Values, settings);
    }

    TAdvancedValues Values;
};
