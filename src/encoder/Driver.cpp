// The order of a run: which stages run, when, and the lines the driver logs between them. What a
// stage does is its own file's business (stages/); the driver only sequences their records.
#include <string>

#include "encoder/DriverSteps.h"
#include "encoder/encoder.h"
#include "encoder/stages/Stages.h"

void TMXEncoder::RunNormal() {
    LogSettings(*this);
    LogLine("Started encoding.");
    LogLine("Demuxing and indexing.");
    Stage(kIndexForEncoding);
    Stage(kDetectFieldOrder);
    Stage(kEncodeAudio);
    if (Settings.SubTrack != -1) {
        LogLine("Indexing subtitles.");
        Stage(kExtractSubtitles);
    }
    Stage(kChooseInitialSettings);
    Stage(kComputeBudget);
    if (Settings.QualityMode) {
        LogLine("Running single pass encoding.");
        Stage(kRunSinglePass);
    } else {
        RunSizeMode();
    }
    Stage(kSplitOutput);
}

// The compressibility test, the adjustment it leads to, the quantizer limits and the two passes.
void TMXEncoder::RunSizeMode() {
    LogLine("Running compressibility test.");
    Stage(kRunCompTest);
    Stage(kMeasureCompTest);
    LogLine("Compressibility percentage is: " + FormatLogFloat(CompTest.CompRatio * 100));
    Stage(kAdjustAfterCompTest);
    SetMaxQuantizers(*this);
    Stage(kHeightForWidth);
    LogChosenResolution(*this);
    LogLine("Predicted comptest value is: " + FormatLogFloat(CompTest.CompRatio * 100));
    if (NoEncodeMarker(*this)) return;
    LogLine("Running first pass.");
    Stage(kRunFirstPass);
    LogLine("Running second pass.");
    Stage(kRunSecondPass);
}

// Index the title and the subtitles once (later previews reuse them), make the first decisions,
// write the movie script and open it in the media player without waiting.
void TMXEncoder::RunPreview() {
    TRunState& state = RunState();
    if (Source.D2VFile.empty()) {
        LogLine("Indexing input for preview.", true, false);
        Stage(kIndexForPreview);
        state.PreviewIndexFile.Set(Source.D2VFile);
    }
    if (Settings.SubTrack != -1 && Source.VobSubFile.empty()) {
        LogLine("Indexing subtitles for preview.", true, false);
        Stage(kExtractSubtitles);
        state.PreviewSubsFile.Set(Source.VobSubFile);
    }
    Source.SourceType = stProgressive;
    Stage(kDetectFieldOrder);
    Stage(kChooseInitialSettings);
    Stage(kPreviewScript);
    ShowPreview(*this);
}
