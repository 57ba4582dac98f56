#pragma once
// How the window's progress bar and the headless program's status line word the running job's
// progress: "First pass: 45%, frame 1234 of 2740, 38.2 fps, 0:39 left".
#include <string>

#include "jobs/JobProgress.h"
#include "platform/locale.h"

// The stage alone until its tool has said how much there is; the speed only for frames, and
// only once it is known, as is the time left. `fs` gives the decimal separator.
std::string ProgressText(const TJobProgress& progress, const platform::FormatSettings& fs);

// Whole percent done (99 until the tool is done); 0 while the total is not known.
int ProgressPercent(const TJobProgress& progress);

// "0:39", "12:05", "1:02:03"; seconds rounded to the nearest.
std::string TimeLeftText(double seconds);
