#pragma once
// The stages of a run, each defined at the bottom of its own file in this folder, in the order a
// normal run meets them. The driver (encoder/Driver.cpp) sequences them.
#include <cstdint>
#include <string>

#include "encoder/Run.h"
#include "encoder/Stage.h"

// Demultiplexing and indexing of the title, with the chosen audio tracks.
extern const TStage kIndexForEncoding;
// The index a preview decodes through, without audio.
extern const TStage kIndexForPreview;
// Field order and FILM detection with the interlace analysis; the frame count.
extern const TStage kDetectFieldOrder;
// How each audio track goes into the AVI; the MP3 tracks are encoded.
extern const TStage kEncodeAudio;
// The subtitle index and bitmaps, drawn into the picture or delivered beside the AVI.
extern const TStage kExtractSubtitles;
// Pixel aspect, width, resizer and codec settings every job starts from.
extern const TStage kChooseInitialSettings;
// The video's share of the target size.
extern const TStage kComputeBudget;
// The codec's runs over the movie: one pass in quality mode; in size mode the compressibility
// test, then two passes.
extern const TStage kRunSinglePass;
extern const TStage kRunCompTest;
// What the compressibility test's output says of the movie.
extern const TStage kMeasureCompTest;
// Width, resizer and codec settings after the test.
extern const TStage kAdjustAfterCompTest;
// The output height for the chosen width.
extern const TStage kHeightForWidth;
extern const TStage kRunFirstPass;
extern const TStage kRunSecondPass;
// The finished AVI of two or three CDs cut into one file per CD.
extern const TStage kSplitOutput;
// A preview's movie script.
extern const TStage kPreviewScript;

// ---- Pieces of the stages that their tests reach on their own

// The compressibility predicted for an output width from the budget and the test's result.
double PredictedRatio(const TRun& run, int32_t width);
// Reads frames.log of an XviD first pass and lowers the quantizer limits to fit the budget.
void EvaluateFirstPass(TRun& run);
// Runs a program under debug capture; every "Decimate:" string may raise the hybrid threshold.
bool CaptureHybridThreshold(TRun& run, const std::string& commandLine);
