// The first decisions: pixel aspect, width, resizer, codec settings.
#include <string>
#include <vector>

#include "encoder/TextFiles.h"
#include "encoder/rules/Decisions.h"
#include "encoder/stages/Stages.h"
#include "platform/files.h"

namespace {

bool FilmOutput(uint8_t sourceType) {
    return sourceType == stForcedFilm || sourceType == stFilm || sourceType == stHybridFilm;
}

// The input folder's markers: cartoon mode, and the credits zone with its three lines.
void ReadMarkers(TRun& run) {
    const std::string& input = run.Settings.InputDir;
    TXviDCodecParams& xvid = run.Plan.XviDParams;
    xvid.Cartoon = platform::FileExists(input + "/.cartoon");
    if (xvid.Cartoon) run.LogLine("Using cartoon mode.");
    const std::string credits = input + "/.credits";
    xvid.CreditsFrame = 0;
    if (!platform::FileExists(credits)) return;
    std::vector<std::string> messages;
    ReadCreditsLines(LoadTextLines(credits), FilmOutput(run.Source.SourceType), credits, xvid,
                     messages);
    for (const std::string& line : messages) run.LogLine(line);
}

void ChooseInitialSettings(TRun& run) {
    TCodecPlan& plan = run.Plan;
    const TVideoInfo& video = run.Settings.VobInfo.Video;
    plan.PixelAspect = PixelAspectFor(video.IsNTSC, video.Widescreen);
    const TStartSettings start =
        ChooseStartSettings(run.Settings, run.Program.NewXviD, plan.XviDParams, plan.DivXParams);
    plan.OutWidth = start.OutWidth;
    plan.ResizeTemplate = start.ResizeTemplate;
    plan.XviDParams.StatsFile = run.TempFile("_codec.log");
    plan.DivXParams.LogFile = run.TempFile("_codec.log");
    plan.DivXParams.MvFile = run.TempFile("_codec.mv");
    if (run.Settings.Codec == kCodecXviD && !run.PreviewMode) ReadMarkers(run);
}

}  // namespace

const TStage kChooseInitialSettings{"ChooseInitialSettings", ChooseInitialSettings};
