#pragma once
// What the stages share when they hand work to a tool: the tool started and waited for, the
// frame-server scripts and job scripts echoed into the job log and saved, all from the run's own
// values.
#include <string>

#include "encoder/Run.h"
#include "scripts/ToolPaths.h"
#include "scripts/avs.h"

// Runs a tool minimised at idle priority and waits for it, its progress lines shown as the run's
// (counting frames when `countsFrames`: the job runner). A program that cannot be started at
// all raises an error naming it, rather than letting a later stage trip over missing files.
void RunStageTool(TRun& run, const std::string& commandLine, bool countsFrames = false);

// The archiver's command line that packs `file` into `archive`.
std::string ArchiveCommand(const TRun& run, const std::string& archive, const std::string& file);

// The job runner on the run's job script, started as `how` asks, minimised, and waited for; an
// error naming the runner when it cannot be started.
void RunJobRunner(TRun& run, TVDubModRun how);
// The job runner's command line for the run's job script.
std::string JobRunnerCommand(const TRun& run, TVDubModRun how);

// What the scripts take from the installation the run was handed.
TScriptEnvironment ScriptEnvironmentOf(const TRun& run);
// The movie script's values from the run's records.
TMovieScriptParams MovieScriptParams(const TRun& run);
// Builds the movie script for `use`, echoes it under "Writing the following script to <path>"
// and saves it as `path`.
void SaveMovieScript(TRun& run, TMovieScriptUse use, const std::string& path);
// Echoes `job` and saves it as the run's job script.
void SaveJob(TRun& run, const TScriptLines& job);
