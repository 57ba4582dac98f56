#include "app/AdvancedSettings.h"

#include <algorithm>

#include "platform/files.h"

void StoreAdvancedValues(const TAdvancedValues& values, TEncRecord& settings) {
    settings.ResizeMode = static_cast<uint8_t>(values.ResolutionIndex);
    // With "Auto width" the last width stays, for a later job with another width mode.
    if (values.ResolutionIndex == kResizeMinimum || values.ResolutionIndex == kResizeFixed)
        settings.TargetWidth = values.Width;
    if (values.AudioIndex >= 0) settings.AudioMode = static_cast<uint8_t>(values.AudioIndex);
    settings.AudioBitrate = values.Bitrate;
    settings.Codec = values.CodecIndex == 0 ? kCodecXviD : kCodecDivX;
    settings.ForcedSubsOnly = values.ForcedSubs;
    settings.ExternalSubs = values.ExternalSubs;
}

void ApplyCodecRule(TAdvancedValues& values, const TProgramValues& program, IDialogs& dialogs) {
    if (values.CodecIndex == 0 && !program.XviDInstalled) {
        dialogs.Message(MessageKind::Error, kXviDMissingMessage);
        values.CodecIndex = 1;
    } else if (values.CodecIndex == 1 && !program.DivXInstalled) {
        dialogs.Message(MessageKind::Error, kDivXMissingMessage);
        values.CodecIndex = 0;
    } else if (values.CodecIndex < 0) {
        values.CodecIndex = program.XviDInstalled ? 0 : program.DivXInstalled ? 1 : -1;
    }
}

void ApplyResolutionRule(TAdvancedValues& values) {
    if (values.ResolutionIndex == kResizeMinimum)
        values.Width = std::min(values.Width, kMinimumWidthMax);
}

void ApplyAudioRule(TAdvancedValues& values) {
    if (values.AudioIndex == kAudioVbrMp3)
        values.Bitrate = std::max(values.Bitrate, kVbrBitrateMin);
}

bool ApplyExternalSubsRule(TAdvancedValues& values, const TProgramValues& program,
                           IDialogs& dialogs, bool ask) {
    if (!values.ExternalSubs) return false;
    if (!platform::FileExists(program.RarPath)) {
        dialogs.Message(MessageKind::Error, kRarMissingMessage);
        values.ExternalSubs = false;
    } else if (ask && !dialogs.Confirm(kExternalSubsQuestion)) {
        values.ExternalSubs = false;
    }
    return values.ExternalSubs;
}
