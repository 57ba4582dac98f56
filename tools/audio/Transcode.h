#pragma once
// One run of the transcoder: the track is decoded, mixed down to the MP3's channels, resampled
// only when the encoder asks for another rate, and encoded. The encoder's and the decoder's delay
// is taken off the start of the audio, so that the first sample a decoder plays from the first
// audio frame is the track's first sample: the MP3 keeps the track's timing and the delay in the
// file name stays true.
#include "Options.h"
#include "TranscodeLog.h"

namespace audio {

// Throws std::runtime_error (naming the file and the fault) when no MP3 could be made; the output
// name is then left as it was.
void Transcode(const Options& options, TranscodeLog& log);

}  // namespace audio
