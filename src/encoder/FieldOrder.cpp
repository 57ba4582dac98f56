// Field order and FILM detection, and the frame count.
#include <string>

#include "encoder/TextFiles.h"
#include "encoder/IndexLines.h"
#include "util/PathText.h"
#include "encoder/encoder.h"
#include "platform/files.h"

namespace {

// The rewrite that makes the indexer's output drop the pulldown fields.
void ForceFilm(TIndexLines& lines, const std::string& path, uint8_t& sourceType) {
    if (SetFieldOperation(lines, kForcedFilmOperation, kFilmFrameRate, path))
        sourceType = stForcedFilm;
    SaveTextLines(lines, path);
}

}  // namespace

void TMXEncoder::DetectFieldOrder() {
    TIndexLines lines = LoadTextLines(D2VFile);
    SourceType = stProgressive;
    const bool ntsc = Settings.VobInfo.Video.IsNTSC;
    const double filmPercent = ntsc ? FilmPercentOf(lines, D2VFile) : 0.0;
    if (ntsc && filmPercent > 99) {
        LogLine("Source seems to be pure FILM.");
        ForceFilm(lines, D2VFile, SourceType);
    }
    if (!PreviewMode && (!ntsc || filmPercent <= 99)) {
        LogLine("Analyzing source.");
        AnalyzeInterlace(D2VFile);
    }
    if (!ntsc && !PreviewMode && SourceType == stInterlaced) TrySwappedFieldOrder(lines);
    const TFrameEstimate estimate =
        EstimateFrames(CountIndexFrames(lines, D2VFile), SourceType, filmPercent, !ntsc);
    FrameCount = estimate.FrameCount;
    XviDParams.MaxKeyInterval = estimate.MaxKeyInterval;
    DivXParams.MaxKeyInterval = estimate.MaxKeyInterval;
    if (!PreviewMode) LogLine("Found " + std::to_string(FrameCount) + " frames");
}

// An interlaced PAL picture may only look so because its fields are in the wrong order: the
// analysis is repeated on an index that swaps them, and the better order is kept.
void TMXEncoder::TrySwappedFieldOrder(TIndexLines& lines) {
    SetFieldOperation(lines, kSwapOrderOperation, "", D2VFile);
    const std::string alternative = ChangeFileExt(D2VFile, "_alt.d2v");
    SaveTextLines(lines, alternative);
    LogLine("Analyzing PAL source with different field order.");
    AnalyzeInterlace(alternative);
    if (SourceType == stProgressive || CombDelta < -0.01) {
        D2VFile = alternative;
        LogLine("Choosing alternative field order.");
    }
}
