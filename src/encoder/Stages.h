#pragma once
// The stages the run calls, as a table of named functions. The run's body only sequences them
// and logs between them; DefaultStages() gives the run's own stage operations, and a test puts
// stand-ins in their place to check the order, the log lines and the error path.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class TMXEncoder;

struct TEncoderStages {
    using Stage = std::function<void(TMXEncoder&)>;
    Stage IndexForEncoding;
    Stage IndexForPreview;
    Stage DetectFieldOrder;  // field order and FILM detection, frame count
    Stage EncodeAudio;
    Stage ExtractSubtitles;
    Stage ChooseInitialSettings;  // pixel aspect, width, resizer, codec settings
    Stage ComputeBudget;
    Stage RunSinglePass;  // quality mode
    Stage RunCompTest;
    Stage MeasureCompTest;
    Stage AdjustAfterCompTest;
    std::function<int32_t(TMXEncoder&, int32_t width)> HeightForWidth;
    std::function<std::vector<std::string>(TMXEncoder&)> PreviewScript;
    Stage RunFirstPass;
    Stage RunSecondPass;
    Stage SplitOutput;
};

TEncoderStages DefaultStages();
