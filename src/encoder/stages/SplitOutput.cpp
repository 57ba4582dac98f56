// Cuts a finished AVI of two or three CDs into one file per CD at key frames, and external
// subtitles to the same time ranges. The full AVI stays as it is.
#include <cstdint>

#include "avi/AviSplit.h"
#include "encoder/StageTools.h"
#include "encoder/rules/Budget.h"
#include "encoder/rules/SplitPlan.h"
#include "encoder/stages/Stages.h"
#include "platform/files.h"
#include "util/PathText.h"
#include "util/utils.h"

namespace {

// Cuts the external subtitles to the part that ends at `endFrame` and packs its bitmaps.
void CutSubtitles(TRun& run, const std::string& part, int64_t endFrame, std::string& startText) {
    const TEncRecord& s = run.Settings;
    const std::string endText =
        SubtitleTimeText(endFrame, OutputFrameRate(s.VobInfo.Video.IsNTSC, run.Source.SourceType));
    RunStageTool(run, "rundll32 " + platform::ShortPathName(run.Program.VobSubPath) + ",Cutter " +
                          ChangeFileExt(s.OutputFile, "") + " " + ChangeFileExt(part, "") + " 1 " +
                          startText + " " + endText);
    startText = endText;
    run.LogLine("Splitting and compressing subtitles.");
    RunStageTool(run,
                 ArchiveCommand(run, ChangeFileExt(part, ".rar"), ChangeFileExt(part, ".sub")));
}

void WritePart(TRun& run, const std::string& part, int64_t first, int64_t count) {
    const TEncRecord& s = run.Settings;
    TScriptLines job;
    MakeSplitJob(job, s.OutputFile, part, first, count, s.AudioMode, run.Audio.HasAudio2,
                 AudioTrackName(s.VobInfo, s.AudioTrack), AudioTrackName(s.VobInfo, s.AudioTrack2),
                 ScriptEnvironmentOf(run));
    SaveJob(run, job);
    run.LogLine("Splitting video into: " + part);
    RunStageTool(run, JobRunnerCommand(run, TVDubModRun::Plain), true);
}

void SplitOutput(TRun& run) {
    const TEncRecord& s = run.Settings;
    const int64_t partSize = PartSizeFor(s.TargetSize, run.Budget.SubtitleSize);
    if (partSize == 0) return;
    TAVISplitSearch search;
    if (!search.Open(s.OutputFile)) {
        run.LogLine("Error splitting file");
        return;
    }
    const int64_t length = FileSize64(s.OutputFile);
    if (partSize + kSplitSlack > length) {
        run.LogLine("No splitting required");
        return;
    }
    const bool cutSubs =
        s.SubTrack != -1 && s.ExternalSubs && platform::FileExists(run.Program.RarPath);
    std::string startText = kFirstPartStart;
    // Parts end at the last key frame before the limit, so they are often shorter than the part
    // size: when the size rule would stop while frames are left, the rest goes into further
    // parts instead of being dropped.
    const int32_t frames = search.FindSplitFrame(INT32_MAX, kSplitSearchMiB);
    int32_t first = 0;
    for (int32_t n = 1; int64_t(n - 1) * partSize + kSplitSlack < length || first < frames; ++n) {
        const int32_t next = search.FindSplitFrame(first, kSplitSearchMiB);
        // Past the last frame the search has nothing left to give; an empty part is no part.
        if (next <= first) break;
        const std::string part = PartFileName(s.OutputFile, n);
        WritePart(run, part, first, next - first);
        if (cutSubs) CutSubtitles(run, part, next, startText);
        first = next;
    }
}

}  // namespace

const TStage kSplitOutput{"SplitOutput", SplitOutput, "Splitting"};
