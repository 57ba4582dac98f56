// Field order and FILM detection, and the frame count.
#include <string>

#include "encoder/TextFiles.h"
#include "encoder/rules/IndexLines.h"
#include "encoder/stages/InterlaceAnalysis.h"
#include "encoder/stages/Stages.h"
#include "util/PathText.h"

namespace {

// The rewrite that makes the indexer's output drop the pulldown fields.
void ForceFilm(TIndexLines& lines, const std::string& path, uint8_t& sourceType) {
    if (SetFieldOperation(lines, kForcedFilmOperation, kFilmFrameRate, path))
        sourceType = stForcedFilm;
    SaveTextLines(lines, path);
}

// An interlaced PAL picture may only look so because its fields are in the wrong order: the
// analysis is repeated on an index that swaps them, and the better order is kept.
void TrySwappedFieldOrder(TRun& run, TIndexLines& lines) {
    TSourceRecord& source = run.Source;
    SetFieldOperation(lines, kSwapOrderOperation, "", source.D2VFile);
    const std::string alternative = ChangeFileExt(source.D2VFile, "_alt.d2v");
    SaveTextLines(lines, alternative);
    run.LogLine("Analyzing PAL source with different field order.");
    AnalyzeInterlace(run, alternative);
    if (source.SourceType == stProgressive || source.CombDelta < -0.01) {
        source.D2VFile = alternative;
        run.LogLine("Choosing alternative field order.");
    }
}

void DetectFieldOrder(TRun& run) {
    TSourceRecord& source = run.Source;
    TIndexLines lines = LoadTextLines(source.D2VFile);
    source.SourceType = stProgressive;
    const bool ntsc = run.Settings.VobInfo.Video.IsNTSC;
    const double filmPercent = ntsc ? FilmPercentOf(lines, source.D2VFile) : 0.0;
    if (ntsc && filmPercent > 99) {
        run.LogLine("Source seems to be pure FILM.");
        ForceFilm(lines, source.D2VFile, source.SourceType);
    }
    if (!run.PreviewMode && (!ntsc || filmPercent <= 99)) {
        run.LogLine("Analyzing source.");
        AnalyzeInterlace(run, source.D2VFile);
    }
    if (!ntsc && !run.PreviewMode && source.SourceType == stInterlaced)
        TrySwappedFieldOrder(run, lines);
    const TFrameEstimate estimate = EstimateFrames(CountIndexFrames(lines, source.D2VFile),
                                                   source.SourceType, filmPercent, !ntsc);
    source.FrameCount = estimate.FrameCount;
    run.Plan.XviDParams.MaxKeyInterval = estimate.MaxKeyInterval;
    run.Plan.DivXParams.MaxKeyInterval = estimate.MaxKeyInterval;
    if (!run.PreviewMode) run.LogLine("Found " + std::to_string(source.FrameCount) + " frames");
}

}  // namespace

const TStage kDetectFieldOrder{"DetectFieldOrder", DetectFieldOrder, "Analysing the source"};
