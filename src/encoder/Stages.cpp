#include "encoder/Stages.h"

#include "encoder/encoder.h"

TEncoderStages DefaultStages() {
    TEncoderStages s;
    s.IndexForEncoding = [](TMXEncoder& e) { e.IndexForEncoding(); };
    s.IndexForPreview = [](TMXEncoder& e) { e.IndexForPreview(); };
    s.DetectFieldOrder = [](TMXEncoder& e) { e.DetectFieldOrder(); };
    s.EncodeAudio = [](TMXEncoder& e) { e.EncodeAudio(); };
    s.ExtractSubtitles = [](TMXEncoder& e) { e.ExtractSubtitles(); };
    s.ChooseInitialSettings = [](TMXEncoder& e) { e.ChooseInitialSettings(); };
    s.ComputeBudget = [](TMXEncoder& e) { e.ComputeBudget(); };
    s.RunSinglePass = [](TMXEncoder& e) { e.RunSinglePass(); };
    s.RunCompTest = [](TMXEncoder& e) { e.RunCompTest(); };
    s.MeasureCompTest = [](TMXEncoder& e) { e.MeasureCompTest(); };
    s.AdjustAfterCompTest = [](TMXEncoder& e) { e.AdjustAfterCompTest(); };
    s.HeightForWidth = [](TMXEncoder& e, int32_t width) { return e.HeightForWidth(width); };
    s.PreviewScript = [](TMXEncoder& e) { return e.PreviewScript(); };
    s.RunFirstPass = [](TMXEncoder& e) { e.RunFirstPass(); };
    s.RunSecondPass = [](TMXEncoder& e) { e.RunSecondPass(); };
    s.SplitOutput = [](TMXEncoder& e) { e.SplitOutput(); };
    return s;
}
