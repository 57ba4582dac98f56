#pragma once
// The driver's own steps between the stages: the checks and log lines the run's order calls for.
#include "encoder/Run.h"

// Every track choice is -1 or names an entry of the source description; raises an error naming
// the choice otherwise.
void CheckTrackIndexes(const TRun& run);
// The job's settings as the first lines of a normal run's log.
void LogSettings(TRun& run);
// The better the sample compressed, the lower the quantizers the passes may use.
void SetMaxQuantizers(TRun& run);
// "Chosen resolution is: ..." for the planned width and height; an error for an unusable one.
void LogChosenResolution(TRun& run);
// The marker "no.encode" in the program folder, file or folder, skips both passes.
bool NoEncodeMarker(const TRun& run);
// Saves the preview's script and opens it in the media player without waiting.
void ShowPreview(TRun& run);
