#pragma once
// The advanced options dialog without the toolkit: its control values with their current limits,
// and the rule each control runs when it changes. The dialog shows what this holds after every
// change; restoring the stored options goes through the same rules, so a stored choice whose
// codec or archiver has gone is corrected at start with its message.
#include <cstdint>
#include <functional>

#include "app/AdvancedSettings.h"
#include "app/AdvancedStore.h"
#include "app/Dialogs.h"
#include "jobs/ProgramValues.h"

class TAdvancedOptions : public IAdvancedSettings {
  public:
    explicit TAdvancedOptions(IDialogs& dialogs, const TProgramValues& program = Program(),
                              TRunState& state = RunState());

    // Told whenever "Use external subtitles" has settled (the main window's second subtitle
    // chooser follows it).
    void SetExternalSubsListener(std::function<void(bool)> listener) {
        externalSubsListener_ = std::move(listener);
    }
    // Whether the dialog is on screen: only a user's tick there is questioned.
    void SetOnScreen(bool onScreen) { onScreen_ = onScreen; }

    // Creation: the stored values, each through its control's rule, then the resolution and
    // codec rules.
    void Restore(const TStoredAdvanced& stored);

    void ResolutionChosen(int32_t index);
    // The width arrows: one step up (+1) or down (-1), within the limits.
    void WidthStepped(int32_t steps);
    void CodecChosen(int32_t index);
    void AudioChosen(int32_t index);
    void BitrateChanged(int32_t bitrate);
    void ForcedSubsChanged(bool ticked);
    void ExternalSubsChanged(bool ticked);

    const TAdvancedValues& Values() const { return values_; }
    int32_t WidthMax() const { return widthMax_; }
    int32_t BitrateMin() const { return bitrateMin_; }
    bool WidthEnabled() const { return values_.ResolutionIndex != kResizeAuto; }
    bool BitrateEnabled() const {
        return values_.AudioIndex == kAudioVbrMp3 || values_.AudioIndex == kAudioCbrMp3;
    }

    bool ExternalSubsTicked() const override { return values_.ExternalSubs; }
    void StoreAdvancedSettings(TEncRecord& settings) override {
        StoreAdvancedValues(values_, settings);
    }

  private:
    void SetWidth(int32_t width);

    IDialogs& dialogs_;
    const TProgramValues& program_;
    TRunState& state_;
    std::function<void(bool)> externalSubsListener_;
    bool onScreen_ = false;
    TAdvancedValues values_;
    int32_t widthMax_ = kWidthMax;
    int32_t bitrateMin_ = kBitrateMin;
};
