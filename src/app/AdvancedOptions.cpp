#include "app/AdvancedOptions.h"

#include <algorithm>

TAdvancedOptions::TAdvancedOptions(IDialogs& dialogs, const TProgramValues& program,
                                   TRunState& state)
    : dialogs_(dialogs), program_(program), state_(state) {}

void TAdvancedOptions::Restore(const TStoredAdvanced& stored) {
    if (stored.ForcedSubs) ForcedSubsChanged(*stored.ForcedSubs);
    if (stored.ExternalSubs) ExternalSubsChanged(*stored.ExternalSubs);
    if (stored.WidthText) SetWidth(*stored.WidthText);
    if (stored.AudioIndex) AudioChosen(*stored.AudioIndex);
    if (stored.CodecIndex) CodecChosen(*stored.CodecIndex);
    if (stored.ResolutionIndex) ResolutionChosen(*stored.ResolutionIndex);
    if (stored.Bitrate) BitrateChanged(*stored.Bitrate);
    if (stored.WidthPosition) SetWidth(*stored.WidthPosition);
    ResolutionChosen(values_.ResolutionIndex);
    CodecChosen(values_.CodecIndex);
}

void TAdvancedOptions::ResolutionChosen(int32_t index) {
    values_.ResolutionIndex = std::clamp<int32_t>(index, kResizeAuto, kResizeFixed);
    if (values_.ResolutionIndex == kResizeMinimum) widthMax_ = kMinimumWidthMax;
    if (values_.ResolutionIndex == kResizeFixed) widthMax_ = kWidthMax;
    ApplyResolutionRule(values_);
}

void TAdvancedOptions::SetWidth(int32_t width) {
    values_.Width = std::clamp(width, kWidthMin, widthMax_);
}

void TAdvancedOptions::WidthStepped(int32_t steps) {
    if (!WidthEnabled()) return;
    SetWidth(values_.Width + steps * kWidthStep);
}

void TAdvancedOptions::CodecChosen(int32_t index) {
    values_.CodecIndex = index;
    ApplyCodecRule(values_, program_, dialogs_);
}

void TAdvancedOptions::AudioChosen(int32_t index) {
    values_.AudioIndex = index;
    if (index == kAudioVbrMp3) bitrateMin_ = kVbrBitrateMin;
    if (index == kAudioCbrMp3) bitrateMin_ = kBitrateMin;
    ApplyAudioRule(values_);
}

void TAdvancedOptions::BitrateChanged(int32_t bitrate) {
    values_.Bitrate = std::clamp(bitrate, bitrateMin_, kBitrateMax);
}

// The preview's subtitle index is made for one setting of this box.
void TAdvancedOptions::ForcedSubsChanged(bool ticked) {
    values_.ForcedSubs = ticked;
    state_.PreviewSubsFile.Set("");
}

void TAdvancedOptions::ExternalSubsChanged(bool ticked) {
    values_.ExternalSubs = ticked;
    ApplyExternalSubsRule(values_, program_, dialogs_, onScreen_);
    if (externalSubsListener_) externalSubsListener_(values_.ExternalSubs);
}
