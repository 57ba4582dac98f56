#pragma once
// The audio streams of a job as tracks ready to write: an AC3 or MPEG audio file (SetSource with
// a path), or an audio stream of the opened AVI (the split job).
#include <string>

#include "Job.h"
#include "JobOutput.h"
#include "media/MediaError.h"

namespace jobrunner {

// The file of `stream`, read through once first: it must be of the coding its format code says,
// and its warnings (damage, a variable rate where a constant one was announced) are given then.
// The track starts `delayMs` after the video and, with clipping, ends with it at
// `videoSeconds`. `where` names the SetSource statement in messages.
AudioOutput FileAudio(const AudioStreamJob& stream, double videoSeconds, const std::string& where,
                      const media::WarningSink& warn);

// Audio stream `stream.aviStream` of the AVI at `path`, for the range that starts
// `rangeStartSeconds` into the AVI's video and lasts `rangeSeconds`.
AudioOutput AviAudio(const AudioStreamJob& stream, const std::string& path,
                     double rangeStartSeconds, double rangeSeconds, const media::WarningSink& warn);

}  // namespace jobrunner
