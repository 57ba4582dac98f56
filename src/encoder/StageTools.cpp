#include "encoder/StageTools.h"

#include <stdexcept>
#include <vector>

#include "encoder/Runner.h"
#include "platform/files.h"
#include "platform/process.h"

void RunStageTool(TRun& run, const std::string& commandLine, bool countsFrames) {
    TProgramRun how;
    how.OnProgress = run.ToolProgress(countsFrames);
    if (RunProgram(commandLine, how)) return;
    const std::vector<std::string> args = platform::SplitCommandLine(commandLine);
    throw std::runtime_error("Cannot start the program " + (args.empty() ? commandLine : args[0]) +
                             ".");
}

std::string ArchiveCommand(const TRun& run, const std::string& archive, const std::string& file) {
    return platform::ShortPathName(run.Program.RarPath) + " a -m5 -ep \"" + archive + "\" \"" +
           file + "\"";
}

std::string JobRunnerCommand(const TRun& run, TVDubModRun how) {
    return VDubModCommandLine(how, run.Program.VDubModPath, run.JobScriptFile, run.TempFolder());
}

void RunJobRunner(TRun& run, TVDubModRun how) {
    TProgramRun program;
    program.OnProgress = run.ToolProgress(true);
    if (!RunProgram(JobRunnerCommand(run, how), program))
        throw std::runtime_error("Cannot start the job runner " + run.Program.VDubModPath + ".");
}

TScriptEnvironment ScriptEnvironmentOf(const TRun& run) {
    return ScriptEnvironmentFor(run.Program);
}

TMovieScriptParams MovieScriptParams(const TRun& run) {
    TMovieScriptParams p;
    p.D2VFile = run.Source.D2VFile;
    p.OutWidth = run.Plan.OutWidth;
    p.HybridThreshold = run.Source.HybridThreshold;
    p.ResizeTemplate = run.Plan.ResizeTemplate;
    p.VobSubFile = run.Source.VobSubFile;
    p.SourceType = run.Source.SourceType;
    p.PixelAspect = run.Plan.PixelAspect;
    p.CompCycle = run.CompTest.CompCycle;
    return p;
}

void SaveMovieScript(TRun& run, TMovieScriptUse use, const std::string& path) {
    TScriptLines lines;
    MakeMovieScript(lines, MovieScriptParams(run), use, ScriptEnvironmentOf(run));
    run.LogScript(lines, "Writing the following script to " + path);
    SaveScript(lines, path);
}

void SaveJob(TRun& run, const TScriptLines& job) {
    run.LogScript(job, "Writing the following script to " + run.JobScriptFile);
    SaveScript(job, run.JobScriptFile);
}
