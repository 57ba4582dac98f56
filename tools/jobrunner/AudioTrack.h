#pragma once
// One audio stream of the AVI: its frames as the source gives them, placed on the video's
// timeline and cut into chunks.
//
// Placement: a positive offset puts silent frames in front, a negative one leaves out the frames
// that fall before the video's start, each rounded to the nearest whole frame (so the track lands
// within half a frame, at most 16 ms for AC3 and 12 ms for MP3). The end may be cut where the
// video ends. Both move by the video's lag when its decoder shows each frame later than its
// chunk (see AviOutput). Damage that the frame reader stepped over becomes as many silent frames
// as the lost bytes held, so that everything after it keeps its time.
//
// Chunks: a stream counted in bytes (AC3, constant-rate MPEG audio) takes whole frames for about
// half a second a chunk, which keeps the index small; a stream counted in frames (variable-rate
// MPEG audio) must have one frame a chunk, as players time such a stream by its chunks.
#include <cstdint>
#include <memory>
#include <vector>

#include "FrameReader.h"
#include "Silence.h"

namespace jobrunner {

enum class AudioLayout { ByteCounted, FrameCounted };

struct AudioPlacement {
    int64_t leadFrames = 0;  // silent frames in front
    int64_t dropFrames = 0;  // frames of the source's timeline left out at its start
    int64_t maxFrames = -1;  // frames written in all; -1 without a limit
};

// The placement for an audio start `offsetSeconds` after the video's start (negative: before
// it) and, when `endSeconds` is at least 0, a cut where the video ends.
AudioPlacement PlaceAudio(const FrameHeader& h, double offsetSeconds, double endSeconds);

struct AudioChunk {
    std::vector<uint8_t> bytes;
    uint64_t ticks = 0;  // the chunk's length in its stream's units: bytes or frames
};

class AudioTrack {
  public:
    // The track starts `offsetSeconds` after the video (negative: before it) and, when
    // `endSeconds` is at least 0, ends there.
    AudioTrack(std::unique_ptr<FrameReader> reader, const FrameHeader& first, AudioLayout layout,
               double offsetSeconds, double endSeconds);
    // Places the track `lagSeconds` later than asked; once, before the first chunk.
    void Place(double lagSeconds);
    // The next chunk; false when the track is done. Throws media::MediaError when a stream
    // counted in bytes changes its bit rate.
    bool NextChunk(AudioChunk& chunk);
    // When the next chunk starts, in seconds of the track.
    double NextStart() const { return double(written_) * frameSeconds_; }
    AudioLayout Layout() const { return layout_; }
    const FrameHeader& First() const { return first_; }
    int64_t FramesWritten() const { return written_; }
    uint64_t BytesWritten() const { return bytes_; }

  private:
    bool NextTimelineFrame(std::vector<uint8_t>& frame);
    bool NextFrame(std::vector<uint8_t>& frame);

    std::unique_ptr<FrameReader> reader_;
    FrameHeader first_;
    AudioLayout layout_;
    double offsetSeconds_, endSeconds_;
    bool placed_ = false;
    AudioPlacement placement_;
    Silence silence_;
    double frameSeconds_;
    int64_t gapFrames_ = 0;  // silent frames owed for damage, before the pending frame
    bool pending_ = false;   // a source frame read but not yet given out
    std::vector<uint8_t> pendingFrame_;
    uint32_t lastSize_ = 0;
    int64_t written_ = 0;
    uint64_t bytes_ = 0;
};

}  // namespace jobrunner
