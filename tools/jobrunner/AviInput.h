#pragma once
// Reading an AVI to copy from it (the split job), through libavformat's AVI reader: the first
// video stream's chunks as they are, with their frame numbers and key-frame flags, and the bytes
// of an audio stream's chunks. Each reader has a demuxer of its own on the file, which keeps
// only its stream, so the video can start at its range while an audio stream is read from its
// start (its frames are counted to find their time).
#include <cstdint>
#include <memory>
#include <string>

#include "AudioHeaders.h"
#include "AviFormats.h"
#include "FrameReader.h"

struct AVFormatContext;
struct AVPacket;

namespace jobrunner {

// True when the file starts as an AVI does ("RIFF", a size, "AVI ").
bool LooksLikeAvi(const std::string& path);

class AviDemuxer;

class AviVideoReader {
  public:
    // Throws media::MediaError naming the file when it cannot be read as an AVI with video.
    explicit AviVideoReader(const std::string& path);
    ~AviVideoReader();

    const VideoDescription& Description() const { return description_; }
    // Frames the header announces; 0 when it does not say.
    int64_t FramesInHeader() const { return framesInHeader_; }
    double StartSeconds() const { return startSeconds_; }
    const std::string& Path() const;
    // Goes to frame `first`, which must be a key frame; MediaError otherwise.
    void Seek(int64_t first);
    // The next chunk of data: its frame number (frames without data have no chunk), bytes and
    // key flag; false at the end.
    bool Next(int64_t& frame, const uint8_t*& data, size_t& size, bool& key);

  private:
    std::unique_ptr<AviDemuxer> demuxer_;
    VideoDescription description_;
    int64_t framesInHeader_ = 0;
    int64_t startDts_ = 0;
    double startSeconds_ = 0;
    bool pending_ = false;  // the packet read by Seek is still to be given out
};

struct AviAudioInfo {
    AudioCoding coding = AudioCoding::Ac3;
    double startSeconds = 0;  // when its first chunk plays
};

// The n-th audio stream of the AVI: what it is and the bytes of its chunks in order. Throws
// media::MediaError when there is no such stream or it is neither AC3 nor MPEG audio.
std::unique_ptr<ByteFeed> AviAudioFeed(const std::string& path, int n, AviAudioInfo& info);

}  // namespace jobrunner
