// The single-pass encoding of quality mode: the whole movie at the chosen quantizers.
#include <chrono>

#include "encoder/PassScripts.h"
#include "encoder/encoder.h"
#include "jobs/ProgramValues.h"
#include "scripts/ToolPaths.h"

void TMXEncoder::RunSinglePass() {
    const std::string script = TempFile("_movie.avs");
    SaveMovieScript(*this, TMovieScriptUse::Encoding, script);
    const bool newXviD = Program().NewXviD;
    XviDParams.Mode = newXviD ? 0 : 1;
    XviDParams.FixedQuant2 = false;
    DivXParams.VbrMode = 1;
    WriteCodecSettings(Settings.Codec, newXviD, XviDParams, DivXParams, Program().EssMarker);
    SaveJob(*this, FinalJob(*this, script));
    const auto start = std::chrono::system_clock::now();
    RunJobRunner(VDubModCommandLine(TVDubModRun::Plain, JobScriptFile, TempFolder()));
    LogTiming(100, start, std::chrono::system_clock::now());
}
