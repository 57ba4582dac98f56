// One interlace analysis: the sampled clip is served once, the log it leaves is classified, and
// a hybrid source gets its decimation threshold from a second, captured run.
#include <string>

#include "encoder/TextFiles.h"
#include "encoder/InterlaceDetect.h"
#include "encoder/Runner.h"
#include "encoder/encoder.h"
#include "jobs/ProgramValues.h"
#include "platform/files.h"
#include "scripts/ToolPaths.h"
#include "scripts/avs.h"

namespace {

bool IsHybrid(uint8_t type) {
    return type == stHybridFilm || type == stHybridVideo;
}

}  // namespace

// Saves the analysis job for `script` and starts the job runner on it without writing output.
void TMXEncoder::RunAnalysisJob(const std::string& script, const std::string& outputAvi,
                                bool captureDebug) {
    TScriptLines job;
    MakeAnalysisJob(job, script, outputAvi);
    LogScript(job, "Writing the following script to " + JobScriptFile);
    SaveScript(job, JobScriptFile);
    const std::string command =
        VDubModCommandLine(TVDubModRun::Analysis, JobScriptFile, TempFolder());
    if (!captureDebug) return RunJobRunner(command);
    if (!RunCapturingDebugOutput(command))
        throw std::runtime_error("Cannot start the job runner " + Program().VDubModPath + ".");
}

void TMXEncoder::AnalyzeInterlace(const std::string& d2vPath) {
    const std::string logPath = TempFolder() + "interlace.log";
    // The script appends to its log, so an old one would be counted again.
    if (!platform::DeleteTree(logPath))
        throw std::runtime_error("Cannot delete the old analysis log " + logPath + ".");
    TScriptLines script;
    MakeAnalysisScript(script, d2vPath, logPath);
    SaveScript(script, TempFolder() + "_.avs");
    RunAnalysisJob(TempFolder() + "_.avs", TempFolder() + "_.avi", false);
    if (!platform::FileExists(logPath))
        throw std::runtime_error("The analysis left no log " + logPath + ".");
    const TInterlaceWalk walk = WalkWindows(LoadTextLines(logPath));
    const double ratio = CombingRatio(walk.Counts);
    CombDelta = ratio - CombDelta;
    LogLine("Source has percentage of interlacing in motion areas: " + FormatLogFloat(ratio * 100),
            false, true);
    const TInterlaceVerdict verdict =
        DecideSource(walk.Counts, ratio, Settings.VobInfo.Video.IsNTSC,
                     [this](double value) { return FormatLogFloat(value); });
    for (const std::string& line : verdict.Shares) LogLine(line, false, true);
    SourceType = verdict.SourceType;
    LogLine(verdict.Message);
    if (IsHybrid(SourceType)) FindHybridThreshold(d2vPath, walk.TrimList);
}

void TMXEncoder::FindHybridThreshold(const std::string& d2vPath, std::string trimList) {
    if (!trimList.empty()) trimList.pop_back();
    TScriptLines script;
    MakeHybridTestScript(script, d2vPath, trimList);
    SaveScript(script, TempFolder() + "_test.avs");
    LogLine("Looking for optimal hybrid thresholds.");
    RunAnalysisJob(TempFolder() + "_test.avs", TempFolder() + "_test.avi", true);
    HybridThreshold += 0.01;
    LogLine("Found threshold of: " + FormatLogFloat(HybridThreshold));
    if (platform::FileExists(Settings.InputDir + "/.ivtc")) {
        LogLine("Forcing normal IVTC method.");
        SourceType = stFilm;
    }
}
