// The video's share of the target size, from the audio and subtitle files actually produced.
#include <cmath>
#include <limits>
#include <stdexcept>

#include "encoder/Budget.h"
#include "util/PathText.h"
#include "encoder/encoder.h"
#include "jobs/ProgramValues.h"
#include "util/rounding.h"
#include "util/utils.h"

namespace {

// "<label> size: 1,234 bytes (0.00 Mb)" in the program's fixed number format.
std::string SizeLine(const std::string& label, int64_t bytes) {
    const platform::FormatSettings& fs = Program().FormatSettings;
    return label + ": " + platform::FormatNumber(double(bytes), 0, fs) + " bytes (" +
           platform::FormatFixed(double(bytes) / double(kMegabyte), 2, fs) + " Mb)";
}

int64_t SizeOrZero(const std::string& path) {
    const int64_t size = FileSize64(path);
    return size < 0 ? 0 : size;
}

// The sizes of the encoded audio files. A missing first track ends the job; a missing second one
// is dropped for the rest of it, so that no later job script refers to it.
void MeasureAudio(TMXEncoder& run, TBudgetInput& in) {
    in.AudioSize = FileSize64(run.EncodedAudioFile);
    if (in.AudioSize == -1) throw std::runtime_error("Audio is not found. Encoding aborted.");
    run.LogLine(SizeLine("Audio size", in.AudioSize));
    if (run.Settings.AudioTrack2 == -1) return;
    in.Audio2Size = FileSize64(run.EncodedAudioFile2);
    if (in.Audio2Size == -1) {
        run.LogLine("Audio 2 is not found. Switching it off.");
        in.Audio2Size = 0;
        run.Settings.AudioTrack2 = -1;
        run.EncodedAudioFile2.clear();
        return;
    }
    run.LogLine(SizeLine("Audio 2 size", in.Audio2Size));
    if (in.Audio2Size > 0) run.HasAudio2 = true;
}

}  // namespace

void TMXEncoder::ComputeBudget() {
    if (Settings.QualityMode) return;
    TBudgetInput in;
    in.TargetSize = Settings.TargetSize;
    in.AudioMode = Settings.AudioMode;
    in.AutoAudio = AutoAudio;
    in.DivX = Settings.Codec == kCodecDivX;
    in.FrameRate = OutputFrameRate(Settings.VobInfo.Video.IsNTSC, SourceType);
    in.FrameCount = FrameCount;
    in.HasAudio = Settings.AudioTrack != -1;
    if (in.HasAudio) MeasureAudio(*this, in);

    LogLine(SizeLine("Overhead", 128 * OverheadUnits(in)));
    SubtitleSize = 0;
    if (Settings.SubTrack != -1 && Settings.ExternalSubs) {
        SubtitleSize = SizeOrZero(ChangeFileExt(Settings.OutputFile, ".idx")) +
                       SizeOrZero(ChangeFileExt(Settings.OutputFile, ".rar"));
        LogLine(SizeLine("Subtitles size", SubtitleSize));
    }
    in.SubtitleSize = SubtitleSize;
    const TBudget budget = ComputeVideoBudget(in);
    VideoSize = budget.VideoSize;
    if (VideoSize < 1)
        throw std::runtime_error("Audio and overhead size is more than target video size!");
    LogLine(SizeLine("Video size", VideoSize));
    XviDParams.DesiredSize = budget.DesiredSize;
    if (!in.DivX) return;
    // A title without frames, or so short that the rate overflows, has no usable bitrate.
    if (!(std::isfinite(budget.Bitrate) && budget.Bitrate * 1000 < double(INT32_MAX)))
        throw std::runtime_error("The target bitrate cannot be computed for " +
                                 std::to_string(FrameCount) + " frames.");
    LogLine("Target bitrate is: " + std::to_string(RoundHalfEven(budget.Bitrate)) + "kbps");
    DivXParams.TargetBitrate = int32_t(RoundHalfEven(budget.Bitrate * 1000));
}
