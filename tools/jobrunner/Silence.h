#pragma once
// Frames of silence in the form of a stream's own frames, for the audio in front of a delayed
// track and in place of damage: MPEG audio frames built by hand (a header and zeros), AC3 frames
// from libavcodec's AC3 encoder at the stream's rate, channels and bit rate, so that a stream
// counted in bytes keeps its byte rate.
#include <cstdint>
#include <vector>

#include "AudioHeaders.h"

namespace jobrunner {

class Silence {
  public:
    // Throws media::MediaError when no such AC3 frame can be made.
    explicit Silence(const FrameHeader& like);
    // The next silent frame; MPEG frames take the padding slot as often as the stream's own.
    const std::vector<uint8_t>& Next();

  private:
    std::vector<uint8_t> plain_, padded_;
    double owed_ = 0;  // bytes the stream's own frames would have taken beyond the plain ones
    double slot_ = 1;
    double perFrame_ = 0;
};

}  // namespace jobrunner
