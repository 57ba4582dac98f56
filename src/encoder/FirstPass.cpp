// The first of the two passes: the codec gathers its statistics on a throw-away output.
#include <chrono>

#include "encoder/PassScripts.h"
#include "encoder/encoder.h"
#include "jobs/ProgramValues.h"
#include "scripts/ToolPaths.h"

void TMXEncoder::RunFirstPass() {
    const std::string script = TempFile("_movie.avs");
    SaveMovieScript(*this, TMovieScriptUse::Encoding, script);
    const bool newXviD = Program().NewXviD;
    XviDParams.Mode = newXviD ? 1 : 3;
    XviDParams.FixedQuant2 = false;
    DivXParams.VbrMode = 2;
    WriteCodecSettings(Settings.Codec, newXviD, XviDParams, DivXParams, Program().EssMarker);
    TScriptLines job;
    MakeVideoJob(job, script, Settings.OutputFile, Settings.Codec);
    SaveJob(*this, job);
    // Only XviD's limits are tuned from the frame sizes, so only its pass logs them.
    const TVDubModRun run = Settings.Codec == kCodecXviD ? TVDubModRun::Logged : TVDubModRun::Plain;
    const auto start = std::chrono::system_clock::now();
    RunJobRunner(VDubModCommandLine(run, JobScriptFile, TempFolder()));
    LogTiming(100, start, std::chrono::system_clock::now());
    EvaluateFirstPass();
}
