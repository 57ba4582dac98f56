#pragma once
// The frames of an AC3 or MPEG audio stream, one after another, from a file or from the chunks of
// an AVI stream. A frame counts when its header is sound and the bytes after it start another
// frame of the same stream (or end the stream), so that a sync word inside damaged data is not
// taken for a frame. Damage is stepped over with a warning naming the offset, and the number of
// bytes skipped goes with the next frame, so that the caller can keep the timing. An ID3 tag at
// the start, an ID3v1 tag at the end and the encoder's summary frame at the start of an MP3 are
// no audio and are left out silently.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "AudioHeaders.h"
#include "media/MediaError.h"

namespace jobrunner {

// Where the bytes come from.
class ByteFeed {
  public:
    virtual ~ByteFeed() = default;
    // Up to `max` bytes into `to`; 0 at the end. Throws media::MediaError when reading fails.
    virtual size_t Read(uint8_t* to, size_t max) = 0;
};

// The bytes of a file.
std::unique_ptr<ByteFeed> FileFeed(const std::string& path);

struct AudioFrame {
    const uint8_t* data = nullptr;  // valid until the next call of Next
    FrameHeader header;
    int64_t offset = 0;          // in the stream's bytes
    uint64_t skippedBefore = 0;  // bytes of damage stepped over right before this frame
};

class FrameReader {
  public:
    // `name` is the file (or stream) named in messages; `warn` may be empty.
    FrameReader(AudioCoding coding, std::string name, std::unique_ptr<ByteFeed> feed,
                media::WarningSink warn);
    // The next frame; false at the end. Throws media::MediaError when the stream holds no frame
    // of its coding near its start, or damage runs on for longer than any resynchronisation.
    bool Next(AudioFrame& frame);
    const std::string& Name() const { return name_; }

  private:
    size_t Ensure(size_t n);  // bytes available from pos_, at most n are asked for
    bool FrameAt(FrameHeader& h);
    bool EndsOrContinues(size_t after, const FrameHeader& h);
    void SkipStartTag();
    std::string Place(int64_t offset) const;

    AudioCoding coding_;
    std::string name_;
    std::unique_ptr<ByteFeed> feed_;
    media::WarningSink warn_;
    std::vector<uint8_t> buffer_;
    size_t pos_ = 0, end_ = 0;
    int64_t base_ = 0;  // stream offset of buffer_[0]
    bool eof_ = false;
    bool started_ = false;
    FrameHeader first_;
};

}  // namespace jobrunner
