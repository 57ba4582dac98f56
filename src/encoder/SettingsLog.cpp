// The job's settings as the first lines of a normal run's log.
#include <algorithm>
#include <stdexcept>
#include <string>

#include "encoder/encoder.h"

namespace {

// Every track choice is -1 or names an entry of the source description.
void CheckIndex(int32_t index, int32_t count, const char* what) {
    if (index == -1 || (index >= 0 && index < count)) return;
    throw std::runtime_error(std::string(what) + " " + std::to_string(index) +
                             " is not in the source description, which has " +
                             std::to_string(count) + ".");
}

}  // namespace

void TMXEncoder::CheckTrackIndexes() const {
    const TVobInfo& info = Settings.VobInfo;
    const int32_t audio = std::min(info.AudioCount, kMaxAudioTracks);
    const int32_t subs = std::min(info.SubtitleCount, kMaxSubtitleTracks);
    CheckIndex(Settings.AudioTrack, audio, "Audio track");
    CheckIndex(Settings.AudioTrack2, audio, "Second audio track");
    CheckIndex(Settings.SubTrack, subs, "Subtitle track");
    CheckIndex(Settings.SubTrack2, subs, "Second subtitle track");
}

void TMXEncoder::LogSettings() {
    const TEncRecord& s = Settings;
    const TVobInfo& info = s.VobInfo;
    LogLine("Input dir: " + s.InputDir);
    LogLine("Output file: " + s.OutputFile);
    if (s.AudioTrack != -1) LogLine("Audio: " + info.Audio[s.AudioTrack].Language);
    if (s.AudioTrack2 != -1) LogLine("Audio2: " + info.Audio[s.AudioTrack2].Language);
    if (s.SubTrack == -1) {
        LogLine("Subtitles: none");
    } else {
        LogLine("Subtitles: " + info.Subtitles[s.SubTrack].Name);
        if (s.ForcedSubsOnly) LogLine("Display only forced subtitles.");
    }
    if (s.SubTrack2 != -1) LogLine("Subtitles 2: " + info.Subtitles[s.SubTrack2].Name);
    if (s.Codec == kCodecXviD) LogLine("Codec: XviD");
    if (s.Codec == kCodecDivX) LogLine("Codec: DivX");
    if (s.QualityMode)
        LogLine("Target quality: " + std::to_string(s.Quality) + "%");
    else
        LogLine("Target size: " + std::to_string(s.TargetSize) + "Mb");
    const std::string width = std::to_string(s.TargetWidth);
    if (s.ResizeMode == kResizeMinimum)
        LogLine("Custom resolution settings: minimum width of " + width + " pixels");
    if (s.ResizeMode == kResizeFixed)
        LogLine("Custom resolution settings: fixed width of " + width + " pixels");
    if (s.AudioTrack == -1) return;
    const std::string bitrate = std::to_string(s.AudioBitrate);
    if (s.AudioMode == kAudioAC3) LogLine("Custom audio settings: AC3");
    if (s.AudioMode == kAudioVbrMp3)
        LogLine("Custom audio settings: VBR MP3 with average bitrate: " + bitrate + "Kbps");
    if (s.AudioMode == kAudioCbrMp3)
        LogLine("Custom audio settings: CBR MP3 with bitrate: " + bitrate + "Kbps");
}
