// The second pass: the final output with the audio streams, from the first pass's statistics.
#include <chrono>

#include "encoder/PassScripts.h"
#include "encoder/encoder.h"
#include "jobs/ProgramValues.h"
#include "scripts/ToolPaths.h"

void TMXEncoder::RunSecondPass() {
    const bool newXviD = Program().NewXviD;
    XviDParams.Mode = newXviD ? 2 : 5;
    XviDParams.FixedQuant2 = false;
    DivXParams.VbrMode = 3;
    WriteCodecSettings(Settings.Codec, newXviD, XviDParams, DivXParams, Program().EssMarker);
    // The movie script is the one the first pass read.
    SaveJob(*this, FinalJob(*this, TempFile("_movie.avs")));
    const auto start = std::chrono::system_clock::now();
    RunJobRunner(VDubModCommandLine(TVDubModRun::Plain, JobScriptFile, TempFolder()));
    LogTiming(100, start, std::chrono::system_clock::now());
}
