// One interlace analysis: the sampled clip is served once, the log it leaves is classified, and
// a hybrid source gets its decimation threshold from a second, captured run.
#include "encoder/stages/InterlaceAnalysis.h"

#include <stdexcept>

#include "encoder/Runner.h"
#include "encoder/StageTools.h"
#include "encoder/TextFiles.h"
#include "encoder/rules/InterlaceDetect.h"
#include "encoder/rules/ThresholdCapture.h"
#include "encoder/stages/Stages.h"
#include "platform/files.h"

namespace {

bool IsHybrid(uint8_t type) {
    return type == stHybridFilm || type == stHybridVideo;
}

// Saves the analysis job for `script` and starts the job runner on it without writing output.
void RunAnalysisJob(TRun& run, const std::string& script, const std::string& outputAvi,
                    bool captureDebug) {
    TScriptLines job;
    MakeAnalysisJob(job, script, outputAvi);
    SaveJob(run, job);
    if (!captureDebug) return RunJobRunner(run, TVDubModRun::Analysis);
    if (!CaptureHybridThreshold(run, JobRunnerCommand(run, TVDubModRun::Analysis)))
        throw std::runtime_error("Cannot start the job runner " + run.Program.VDubModPath + ".");
}

void FindHybridThreshold(TRun& run, const std::string& d2vPath, std::string trimList) {
    if (!trimList.empty()) trimList.pop_back();
    const std::string folder = run.TempFolder();
    TScriptLines script;
    MakeHybridTestScript(script, d2vPath, trimList, ScriptEnvironmentOf(run));
    SaveScript(script, folder + "_test.avs");
    run.LogLine("Looking for optimal hybrid thresholds.");
    RunAnalysisJob(run, folder + "_test.avs", folder + "_test.avi", true);
    run.Source.HybridThreshold += 0.01;
    run.LogLine("Found threshold of: " + run.FormatLogFloat(run.Source.HybridThreshold));
    if (platform::FileExists(run.Settings.InputDir + "/.ivtc")) {
        run.LogLine("Forcing normal IVTC method.");
        run.Source.SourceType = stFilm;
    }
}

}  // namespace

bool CaptureHybridThreshold(TRun& run, const std::string& commandLine) {
    TProgramRun how;
    how.OnDebugString = [&run](const std::string& text) {
        CaptureThreshold(text, run.Source.HybridThreshold);
    };
    how.OnProgress = run.ToolProgress(true);
    return RunProgram(commandLine, how);
}

void AnalyzeInterlace(TRun& run, const std::string& d2vPath) {
    const std::string folder = run.TempFolder();
    const std::string logPath = folder + "interlace.log";
    // The script appends to its log, so an old one would be counted again.
    if (!platform::DeleteTree(logPath))
        throw std::runtime_error("Cannot delete the old analysis log " + logPath + ".");
    TScriptLines script;
    MakeAnalysisScript(script, d2vPath, logPath, ScriptEnvironmentOf(run));
    SaveScript(script, folder + "_.avs");
    RunAnalysisJob(run, folder + "_.avs", folder + "_.avi", false);
    if (!platform::FileExists(logPath))
        throw std::runtime_error("The analysis left no log " + logPath + ".");
    const TInterlaceWalk walk = WalkWindows(LoadTextLines(logPath));
    const double ratio = CombingRatio(walk.Counts);
    run.Source.CombDelta = ratio - run.Source.CombDelta;
    run.LogLine(
        "Source has percentage of interlacing in motion areas: " + run.FormatLogFloat(ratio * 100),
        false, true);
    const TInterlaceVerdict verdict =
        DecideSource(walk.Counts, ratio, run.Settings.VobInfo.Video.IsNTSC,
                     [&run](double value) { return run.FormatLogFloat(value); });
    for (const std::string& line : verdict.Shares) run.LogLine(line, false, true);
    run.Source.SourceType = verdict.SourceType;
    run.LogLine(verdict.Message);
    if (IsHybrid(run.Source.SourceType)) FindHybridThreshold(run, d2vPath, walk.TrimList);
}
