#include "encoder/DriverSteps.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <string>

#include "encoder/Runner.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/process.h"
#include "scripts/avs.h"

namespace {

void CheckIndex(int32_t index, int32_t count, const char* what) {
    if (index == -1 || (index >= 0 && index < count)) return;
    throw std::runtime_error(std::string(what) + " " + std::to_string(index) +
                             " is not in the source description, which has " +
                             std::to_string(count) + ".");
}

}  // namespace

void CheckTrackIndexes(const TRun& run) {
    const TEncRecord& s = run.Settings;
    const int32_t audio = std::min(s.VobInfo.AudioCount, kMaxAudioTracks);
    const int32_t subs = std::min(s.VobInfo.SubtitleCount, kMaxSubtitleTracks);
    CheckIndex(s.AudioTrack, audio, "Audio track");
    CheckIndex(s.AudioTrack2, audio, "Second audio track");
    CheckIndex(s.SubTrack, subs, "Subtitle track");
    CheckIndex(s.SubTrack2, subs, "Second subtitle track");
}

void LogSettings(TRun& run) {
    const TEncRecord& s = run.Settings;
    const TVobInfo& info = s.VobInfo;
    run.LogLine("Input dir: " + s.InputDir);
    run.LogLine("Output file: " + s.OutputFile);
    if (s.AudioTrack != -1) run.LogLine("Audio: " + info.Audio[s.AudioTrack].Language);
    if (s.AudioTrack2 != -1) run.LogLine("Audio2: " + info.Audio[s.AudioTrack2].Language);
    if (s.SubTrack == -1) {
        run.LogLine("Subtitles: none");
    } else {
        run.LogLine("Subtitles: " + info.Subtitles[s.SubTrack].Name);
        if (s.ForcedSubsOnly) run.LogLine("Display only forced subtitles.");
    }
    if (s.SubTrack2 != -1) run.LogLine("Subtitles 2: " + info.Subtitles[s.SubTrack2].Name);
    if (s.Codec == kCodecXviD) run.LogLine("Codec: XviD");
    if (s.Codec == kCodecDivX) run.LogLine("Codec: DivX");
    if (s.QualityMode)
        run.LogLine("Target quality: " + std::to_string(s.Quality) + "%");
    else
        run.LogLine("Target size: " + std::to_string(s.TargetSize) + "Mb");
    const std::string width = std::to_string(s.TargetWidth);
    if (s.ResizeMode == kResizeMinimum)
        run.LogLine("Custom resolution settings: minimum width of " + width + " pixels");
    if (s.ResizeMode == kResizeFixed)
        run.LogLine("Custom resolution settings: fixed width of " + width + " pixels");
    if (s.AudioTrack == -1) return;
    const std::string bitrate = std::to_string(s.AudioBitrate);
    if (s.AudioMode == kAudioAC3) run.LogLine("Custom audio settings: AC3");
    if (s.AudioMode == kAudioVbrMp3)
        run.LogLine("Custom audio settings: VBR MP3 with average bitrate: " + bitrate + "Kbps");
    if (s.AudioMode == kAudioCbrMp3)
        run.LogLine("Custom audio settings: CBR MP3 with bitrate: " + bitrate + "Kbps");
}

void SetMaxQuantizers(TRun& run) {
    const double ratio = run.CompTest.CompRatio;
    const double limit = std::ceil(2.0 / (ratio - 0.01));
    if (!(ratio - 0.01 > 0) || limit > std::numeric_limits<int32_t>::max())
        throw std::runtime_error("The predicted comptest value " + run.FormatLogFloat(ratio * 100) +
                                 " is too small to set the quantizer limits.");
    run.Plan.XviDParams.MaxIQuant = static_cast<int32_t>(limit);
    run.Plan.XviDParams.MaxPQuant = static_cast<int32_t>(limit);
}

void LogChosenResolution(TRun& run) {
    const int32_t width = run.Plan.OutWidth;
    const int32_t height = run.Plan.OutHeight;
    if (height <= 0)
        throw std::runtime_error("The chosen resolution " + std::to_string(width) + "x" +
                                 std::to_string(height) + " is not usable.");
    run.LogLine("Chosen resolution is: " + std::to_string(width) + "x" + std::to_string(height) +
                " ( AR: " + run.FormatLogFloat(static_cast<double>(width) / height) + " )");
}

bool NoEncodeMarker(const TRun& run) {
    const std::string path = run.Program.ProgramDir + platform::kPathDelimStr + "no.encode";
    return platform::FileExists(path) || platform::DirectoryExists(path);
}

void ShowPreview(TRun& run) {
    const std::string path = run.TempFile("_preview.avs");
    SaveScript(run.PreviewScript, path);
    // Short names never hold a blank; here the names are the long ones, so they are quoted.
    const std::string& player = run.Program.MediaPlayerPath;
    const std::string commandLine = platform::QuoteArgument(platform::ShortPathName(player)) + " " +
                                    platform::QuoteArgument(platform::ShortPathName(path));
    if (!RunProgram(commandLine, false, false))
        run.LogLine("Cannot start the media player " + player + ".");
}
