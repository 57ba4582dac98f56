#pragma once
// One job of the command line, put through the window's steps in the window's order: advanced
// options, input folder, output file, tracks, size. Each refusal raises TRefusal.
#include "app/MainModel.h"
#include "cli/CliOptions.h"
#include "cli/Headless.h"

void PrepareJob(const TJobOptions& job, TMainModel& model, TAdvancedSettingsValues& advanced,
                IDialogs& dialogs);
