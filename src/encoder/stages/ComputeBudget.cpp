// The video's share of the target size, from the audio and subtitle files actually produced.
#include <cmath>
#include <limits>
#include <stdexcept>

#include "encoder/rules/Budget.h"
#include "encoder/stages/Stages.h"
#include "util/PathText.h"
#include "util/rounding.h"
#include "util/utils.h"

namespace {

// "<label> size: 1,234 bytes (0.00 Mb)" in the program's fixed number format.
std::string SizeLine(const TRun& run, const std::string& label, int64_t bytes) {
    const platform::FormatSettings& fs = run.Program.FormatSettings;
    return label + ": " + platform::FormatNumber(double(bytes), 0, fs) + " bytes (" +
           platform::FormatFixed(double(bytes) / double(kMegabyte), 2, fs) + " Mb)";
}

int64_t SizeOrZero(const std::string& path) {
    const int64_t size = FileSize64(path);
    return size < 0 ? 0 : size;
}

// The sizes of the encoded audio files. A missing first track ends the job; a missing second one
// is dropped for the rest of it, so that no later job script refers to it.
void MeasureAudio(TRun& run, TBudgetInput& in) {
    TAudioRecord& audio = run.Audio;
    in.AudioSize = FileSize64(audio.EncodedAudioFile);
    if (in.AudioSize == -1) throw std::runtime_error("Audio is not found. Encoding aborted.");
    run.LogLine(SizeLine(run, "Audio size", in.AudioSize));
    if (run.Settings.AudioTrack2 == -1) return;
    in.Audio2Size = FileSize64(audio.EncodedAudioFile2);
    if (in.Audio2Size == -1) {
        run.LogLine("Audio 2 is not found. Switching it off.");
        in.Audio2Size = 0;
        run.Settings.AudioTrack2 = -1;
        audio.EncodedAudioFile2.clear();
        return;
    }
    run.LogLine(SizeLine(run, "Audio 2 size", in.Audio2Size));
    if (in.Audio2Size > 0) audio.HasAudio2 = true;
}

// The external subtitles beside the output take their share of the target too.
int64_t MeasureSubtitles(TRun& run) {
    const TEncRecord& s = run.Settings;
    if (s.SubTrack == -1 || !s.ExternalSubs) return 0;
    const int64_t size = SizeOrZero(ChangeFileExt(s.OutputFile, ".idx")) +
                         SizeOrZero(ChangeFileExt(s.OutputFile, ".rar"));
    run.LogLine(SizeLine(run, "Subtitles size", size));
    return size;
}

void ComputeBudget(TRun& run) {
    const TEncRecord& s = run.Settings;
    if (s.QualityMode) return;
    TBudgetInput in;
    in.TargetSize = s.TargetSize;
    in.AudioMode = s.AudioMode;
    in.AutoAudio = run.Audio.AutoAudio;
    in.Audio2Mode = run.Audio.Audio2Mode;
    in.DivX = s.Codec == kCodecDivX;
    in.FrameRate = OutputFrameRate(s.VobInfo.Video.IsNTSC, run.Source.SourceType);
    in.FrameCount = run.Source.FrameCount;
    in.HasAudio = s.AudioTrack != -1;
    if (in.HasAudio) MeasureAudio(run, in);

    run.LogLine(SizeLine(run, "Overhead", 128 * OverheadUnits(in)));
    TBudgetRecord& budget = run.Budget;
    budget.SubtitleSize = MeasureSubtitles(run);
    in.SubtitleSize = budget.SubtitleSize;
    const TBudget share = ComputeVideoBudget(in);
    budget.VideoSize = share.VideoSize;
    if (budget.VideoSize < 1)
        throw std::runtime_error("Audio and overhead size is more than target video size!");
    run.LogLine(SizeLine(run, "Video size", budget.VideoSize));
    run.Plan.XviDParams.DesiredSize = share.DesiredSize;
    if (!in.DivX) return;
    // A title without frames, or so short that the rate overflows, has no usable bitrate.
    if (!(std::isfinite(share.Bitrate) && share.Bitrate * 1000 < double(INT32_MAX)))
        throw std::runtime_error("The target bitrate cannot be computed for " +
                                 std::to_string(in.FrameCount) + " frames.");
    run.LogLine("Target bitrate is: " + std::to_string(RoundHalfEven(share.Bitrate)) + "kbps");
    run.Plan.DivXParams.TargetBitrate = int32_t(RoundHalfEven(share.Bitrate * 1000));
}

}  // namespace

const TStage kComputeBudget{"ComputeBudget", ComputeBudget};
