// The adjustment of width, resizer and codec settings after the test, and the height that goes
// with the width it settles on.
#include <stdexcept>
#include <string>

#include "encoder/rules/Decisions.h"
#include "encoder/stages/Stages.h"

namespace {

TAdjustInputs InputsFor(const TRun& run) {
    const TEncRecord& s = run.Settings;
    TAdjustInputs in;
    in.Codec = s.Codec;
    in.TargetSize = s.TargetSize;
    in.ResizeMode = s.ResizeMode;
    in.TargetWidth = s.TargetWidth;
    in.Aspect = run.CompTest.CompAspect;
    const TCorrectionFactors factors =
        CorrectionFactors(s.Codec, run.Program.NewXviD, run.Program.EssMarker);
    in.BFramesFactor = factors.BFrames;
    in.MatrixFactor = factors.Matrix;
    in.ResizerFactor = factors.Resizer;
    in.Predict = [&run](int32_t width) { return PredictedRatio(run, width); };
    return in;
}

void AdjustAfterCompTest(TRun& run) {
    TCodecPlan& plan = run.Plan;
    TAdjustState s;
    s.R = run.CompTest.CompRatio;
    s.Width = plan.OutWidth;
    s.ResizeTemplate = plan.ResizeTemplate;
    s.MatrixType = plan.XviDParams.MatrixType;
    s.BFrames = plan.XviDParams.BFrames;
    s.Bidirectional = plan.DivXParams.Bidirectional;
    AdjustAfterTest(InputsFor(run), s);
    for (const std::string& line : s.Messages) run.LogLine(line);
    run.CompTest.CompRatio = s.R;
    plan.OutWidth = s.Width;
    plan.ResizeTemplate = s.ResizeTemplate;
    plan.XviDParams.MatrixType = s.MatrixType;
    plan.XviDParams.BFrames = s.BFrames;
    plan.DivXParams.Bidirectional = s.Bidirectional;
}

void HeightForWidth(TRun& run) {
    run.Plan.OutHeight = HeightFor(run.Plan.OutWidth, run.CompTest.CompAspect);
}

}  // namespace

double PredictedRatio(const TRun& run, int32_t width) {
    const int64_t frames = run.Source.FrameCount;
    if (frames <= 0)
        throw std::runtime_error("The frame count " + std::to_string(frames) +
                                 " leaves no bits per frame to predict from.");
    const int64_t bitsPerFrame = run.Budget.VideoSize * 8 / frames;
    const double pixels = static_cast<double>(HeightFor(width, run.CompTest.CompAspect)) * width;
    return bitsPerFrame / pixels / run.CompTest.CompBitsPerPixel;
}

const TStage kAdjustAfterCompTest{"AdjustAfterCompTest", AdjustAfterCompTest};
const TStage kHeightForWidth{"HeightForWidth", HeightForWidth};
