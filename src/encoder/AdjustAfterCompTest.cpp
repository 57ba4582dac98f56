// The adjustment of width, resizer and codec settings after the test.
#include <stdexcept>
#include <string>

#include "encoder/Decisions.h"
#include "encoder/encoder.h"
#include "jobs/ProgramValues.h"

namespace {

TAdjustInputs FactorsFor(const TMXEncoder& e) {
    TAdjustInputs in;
    in.Codec = e.Settings.Codec;
    in.TargetSize = e.Settings.TargetSize;
    in.ResizeMode = e.Settings.ResizeMode;
    in.TargetWidth = e.Settings.TargetWidth;
    in.Aspect = e.CompAspect;
    if (in.Codec == kCodecDivX) {
        in.BFramesFactor = 0.818, in.MatrixFactor = 1, in.ResizerFactor = 0.938;
    } else if (Program().EssMarker) {
        in.BFramesFactor = e.XviDEssBFramesFactor, in.MatrixFactor = e.XviDEssMatrixFactor;
        in.ResizerFactor = e.XviDEssResizerFactor;
    } else {
        in.BFramesFactor = e.XviDBFramesFactor, in.MatrixFactor = e.XviDMatrixFactor;
        in.ResizerFactor = e.XviDResizerFactor;
    }
    return in;
}

}  // namespace

double TMXEncoder::PredictedRatio(int32_t width) {
    if (FrameCount <= 0)
        throw std::runtime_error("The frame count " + std::to_string(FrameCount) +
                                 " leaves no bits per frame to predict from.");
    const int64_t bitsPerFrame = VideoSize * 8 / FrameCount;
    const double pixels = static_cast<double>(HeightForWidth(width)) * width;
    return bitsPerFrame / pixels / CompBitsPerPixel;
}

void TMXEncoder::AdjustAfterCompTest() {
    TAdjustInputs in = FactorsFor(*this);
    in.Predict = [this](int32_t width) { return PredictedRatio(width); };
    TAdjustState s;
    s.R = CompRatio;
    s.Width = OutWidth;
    s.ResizeTemplate = ResizeTemplate;
    s.MatrixType = XviDParams.MatrixType;
    s.BFrames = XviDParams.BFrames;
    s.Bidirectional = DivXParams.Bidirectional;
    AdjustAfterTest(in, s);
    for (const std::string& line : s.Messages) LogLine(line);
    CompRatio = s.R;
    OutWidth = s.Width;
    ResizeTemplate = s.ResizeTemplate;
    XviDParams.MatrixType = s.MatrixType;
    XviDParams.BFrames = s.BFrames;
    DivXParams.Bidirectional = s.Bidirectional;
}
