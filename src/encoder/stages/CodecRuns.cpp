// The codec's runs over the movie: the compressibility test, the single pass of quality mode and
// the two passes of size mode are one routine, and what sets them apart is a row of the table
// below.
#include <chrono>
#include <cmath>
#include <cstdio>
#include <limits>
#include <stdexcept>
#include <string>

#include "encoder/StageTools.h"
#include "encoder/TextFiles.h"
#include "encoder/rules/FrameSizes.h"
#include "encoder/stages/Stages.h"

namespace {

enum class TScript {
    Write,  // build the movie script for the run and save it
    Reuse,  // the script the first pass wrote
};

enum class TJobOutput {
    TestVideo,       // the video alone, into the test output
    Video,           // the video alone, into the output file
    VideoWithAudio,  // the video and the encoded audio streams, into the output file
};

enum class TFrameLog { Always, XviDOnly, Never };

struct TCodecRun {
    const char* ScriptFile;  // the movie script, TempBase with this extension
    TScript Script;
    TMovieScriptUse Use;
    TCodecModes Modes;
    // The test encodes at quantizer 2 (XviD) or a fixed quality (DivX); the other runs use the
    // limits and quality the decisions chose.
    bool FixedQuantizer;
    TJobOutput Output;
    // frames.log is written for the test's measurement and for tuning XviD's limits after its
    // first pass.
    TFrameLog FrameLog;
    double ServedPercent;     // the share of the movie the run serves, for its speed line
    void (*Then)(TRun& run);  // what follows the run, or nullptr
    // The output file holds the first pass's video alone until this run replaces it.
    bool ReplacesFirstPass = false;
};

const TCodecRun kCompTest{.ScriptFile = "_comptest.avs",
                          .Script = TScript::Write,
                          .Use = TMovieScriptUse::CompTest,
                          .Modes = kOnePassModes,
                          .FixedQuantizer = true,
                          .Output = TJobOutput::TestVideo,
                          .FrameLog = TFrameLog::Always,
                          .ServedPercent = 5,  // one frame in twenty
                          .Then = nullptr};
const TCodecRun kSinglePass{.ScriptFile = "_movie.avs",
                            .Script = TScript::Write,
                            .Use = TMovieScriptUse::Encoding,
                            .Modes = kOnePassModes,
                            .FixedQuantizer = false,
                            .Output = TJobOutput::VideoWithAudio,
                            .FrameLog = TFrameLog::Never,
                            .ServedPercent = 100,
                            .Then = nullptr};
const TCodecRun kFirstPass{.ScriptFile = "_movie.avs",
                           .Script = TScript::Write,
                           .Use = TMovieScriptUse::Encoding,
                           .Modes = kFirstPassModes,
                           .FixedQuantizer = false,
                           .Output = TJobOutput::Video,
                           .FrameLog = TFrameLog::XviDOnly,
                           .ServedPercent = 100,
                           .Then = EvaluateFirstPass};
const TCodecRun kSecondPass{.ScriptFile = "_movie.avs",
                            .Script = TScript::Reuse,
                            .Use = TMovieScriptUse::Encoding,
                            .Modes = kSecondPassModes,
                            .FixedQuantizer = false,
                            .Output = TJobOutput::VideoWithAudio,
                            .FrameLog = TFrameLog::Never,
                            .ServedPercent = 100,
                            .Then = nullptr,
                            .ReplacesFirstPass = true};

void SetCodecValues(TRun& run, const TCodecRun& how) {
    const bool newXviD = run.Program.NewXviD;
    TXviDCodecParams& xvid = run.Plan.XviDParams;
    TDivXCodecParams& divx = run.Plan.DivXParams;
    xvid.Mode = newXviD ? how.Modes.XviDCore : how.Modes.XviDLegacy;
    xvid.FixedQuant2 = how.FixedQuantizer;
    divx.VbrMode = how.Modes.DivX;
    if (how.FixedQuantizer) {
        xvid.QualityLevel = newXviD ? 200 : 100;
        divx.VbrQuality = 20;
    }
    WriteCodecSettings(run.Settings.Codec, newXviD, xvid, divx, run.Program.EssMarker);
}

// The job script is built after the codec settings are written: it carries the codec's state.
TScriptLines JobFor(TRun& run, const TCodecRun& how, const std::string& script) {
    const TEncRecord& s = run.Settings;
    TScriptLines job;
    if (how.Output == TJobOutput::VideoWithAudio) {
        MakeFinalJob(job, script, s.OutputFile, run.Audio.EncodedAudioFile,
                     run.Audio.EncodedAudioFile2, s.AudioMode, s.Codec,
                     AudioTrackName(s.VobInfo, s.AudioTrack),
                     AudioTrackName(s.VobInfo, s.AudioTrack2), ScriptEnvironmentOf(run));
    } else {
        const std::string output =
            how.Output == TJobOutput::TestVideo ? run.TempFile("_comptest.avi") : s.OutputFile;
        MakeVideoJob(job, script, output, s.Codec, ScriptEnvironmentOf(run));
    }
    return job;
}

TVDubModRun RunnerMode(const TRun& run, const TCodecRun& how) {
    const bool logged = how.FrameLog == TFrameLog::Always ||
                        (how.FrameLog == TFrameLog::XviDOnly && run.Settings.Codec == kCodecXviD);
    return logged ? TVDubModRun::Logged : TVDubModRun::Plain;
}

void RunCodec(TRun& run, const TCodecRun& how) {
    const std::string script = run.TempFile(how.ScriptFile);
    if (how.Script == TScript::Write) SaveMovieScript(run, how.Use, script);
    SetCodecValues(run, how);
    SaveJob(run, JobFor(run, how, script));
    const auto start = std::chrono::system_clock::now();
    try {
        RunJobRunner(run, RunnerMode(run, how));
    } catch (...) {
        // An aborted job must not leave the first pass's video-only AVI under the output name,
        // where it would pass for the result.
        if (how.ReplacesFirstPass) std::remove(run.Settings.OutputFile.c_str());
        throw;
    }
    run.LogTiming(how.ServedPercent, start, std::chrono::system_clock::now());
    if (how.Then) how.Then(run);
}

}  // namespace

// How close the first pass came to the budget decides how coarse the second may quantize. Only
// XviD's limits are tuned from the frame sizes.
void EvaluateFirstPass(TRun& run) {
    if (run.Settings.Codec != kCodecXviD) return;
    const std::string log = run.TempFolder() + "frames.log";
    const TFrameSizes sizes = SumFrameSizes(LoadTextLines(log), 0, 0, log);
    if (sizes.Sum == 0)
        throw std::runtime_error("The frame log " + log + " of the first pass has no frame sizes.");
    const double q = static_cast<double>(run.Budget.VideoSize) / sizes.Sum;
    run.LogLine("Expected quality of first pass size: " + run.FormatLogFloat(q * 100));
    const double limit = std::ceil(2 / (q - 0.01));
    if (!(q - 0.01 > 0) || limit > std::numeric_limits<int32_t>::max())
        throw std::runtime_error("The first pass came out " + run.FormatLogFloat(1 / q) +
                                 " times the budget; no quantizer limit fits.");
    run.Plan.XviDParams.MaxIQuant = static_cast<int32_t>(limit);
    run.Plan.XviDParams.MaxPQuant = static_cast<int32_t>(limit);
}

const TStage kRunCompTest{"RunCompTest", [](TRun& run) { RunCodec(run, kCompTest); },
                          "Compressibility test"};
const TStage kRunSinglePass{"RunSinglePass", [](TRun& run) { RunCodec(run, kSinglePass); },
                            "Single pass"};
const TStage kRunFirstPass{"RunFirstPass", [](TRun& run) { RunCodec(run, kFirstPass); },
                           "First pass"};
const TStage kRunSecondPass{"RunSecondPass", [](TRun& run) { RunCodec(run, kSecondPass); },
                            "Second pass"};
