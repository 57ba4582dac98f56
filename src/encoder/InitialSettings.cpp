// The first decisions: pixel aspect, width, resizer, codec settings.
#include <string>
#include <vector>

#include "encoder/Decisions.h"
#include "encoder/TextFiles.h"
#include "encoder/encoder.h"
#include "jobs/ProgramValues.h"
#include "platform/files.h"

namespace {

bool FilmOutput(uint8_t sourceType) {
    return sourceType == stForcedFilm || sourceType == stFilm || sourceType == stHybridFilm;
}

}  // namespace

void TMXEncoder::ChooseInitialSettings() {
    const TVideoInfo& video = Settings.VobInfo.Video;
    PixelAspect = PixelAspectFor(video.IsNTSC, video.Widescreen);
    const TStartSettings start =
        ChooseStartSettings(Settings, Program().NewXviD, XviDParams, DivXParams);
    OutWidth = start.OutWidth;
    ResizeTemplate = start.ResizeTemplate;
    XviDParams.StatsFile = TempFile("_codec.log");
    DivXParams.LogFile = TempFile("_codec.log");
    DivXParams.MvFile = TempFile("_codec.mv");
    if (Settings.Codec != kCodecXviD || PreviewMode) return;
    XviDParams.Cartoon = platform::FileExists(Settings.InputDir + "/.cartoon");
    if (XviDParams.Cartoon) LogLine("Using cartoon mode.");
    const std::string credits = Settings.InputDir + "/.credits";
    XviDParams.CreditsFrame = 0;
    if (!platform::FileExists(credits)) return;
    std::vector<std::string> messages;
    ReadCreditsLines(LoadTextLines(credits), FilmOutput(SourceType), credits, XviDParams, messages);
    for (const std::string& line : messages) LogLine(line);
}
