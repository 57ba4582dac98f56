#pragma once
// One run of the job runner: the job script read, its input opened, the frames served or copied,
// compressed where the job asks, the audio added and the files written.
#include "Options.h"
#include "media/MediaError.h"

namespace jobrunner {

// Throws (JobError, media::MediaError, std::runtime_error) with a message that names the file
// and what was wrong. A run that fails leaves nothing under the output's name or the frame
// log's, not even a file from an earlier run: the planner takes a file there for this run's.
void RunJob(const Options& options, const media::WarningSink& warn);

}  // namespace jobrunner
