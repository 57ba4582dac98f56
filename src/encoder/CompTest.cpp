// The compressibility test: a sample of the movie encoded at a fixed high quality.
#include <chrono>
#include <stdexcept>
#include <string>

#include "encoder/PassScripts.h"
#include "encoder/encoder.h"
#include "jobs/ProgramValues.h"
#include "scripts/ToolPaths.h"
#include "scripts/avs.h"

void TMXEncoder::RunCompTest() {
    const std::string script = TempFile("_comptest.avs");
    SaveMovieScript(*this, TMovieScriptUse::CompTest, script);
    const bool newXviD = Program().NewXviD;
    XviDParams.Mode = newXviD ? 0 : 1;
    XviDParams.FixedQuant2 = true;
    XviDParams.QualityLevel = newXviD ? 200 : 100;
    DivXParams.VbrMode = 1;
    DivXParams.VbrQuality = 20;
    WriteCodecSettings(Settings.Codec, newXviD, XviDParams, DivXParams, Program().EssMarker);
    TScriptLines job;
    MakeVideoJob(job, script, TempFile("_comptest.avi"), Settings.Codec);
    SaveJob(*this, job);
    const auto start = std::chrono::system_clock::now();
    RunJobRunner(VDubModCommandLine(TVDubModRun::Logged, JobScriptFile, TempFolder()));
    // The test serves one frame in twenty.
    LogTiming(5, start, std::chrono::system_clock::now());
}
