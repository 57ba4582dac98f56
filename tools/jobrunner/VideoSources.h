#pragma once
// Where the video chunks of a job come from: a frame-server script's frames, compressed by the
// job's codec or written as they are (planar YUV 4:2:0), or only served (/nowrite); or the
// chunks of an opened AVI, copied as they are.
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "AviFormats.h"
#include "AviInput.h"
#include "ServedFrames.h"
#include "VideoCodec.h"

namespace jobrunner {

struct VideoChunk {
    const uint8_t* data = nullptr;
    size_t size = 0;
    bool key = true;
    char type = 'I';  // the frame's type, for frames.log
};

class VideoSource {
  public:
    virtual ~VideoSource() = default;
    virtual const VideoDescription& Description() const = 0;
    virtual bool Compressed() const = 0;
    // Chunks in all, one a frame.
    virtual int64_t Frames() const = 0;
    // The next chunk, in the order they go into the file; false after the last.
    virtual bool Next(VideoChunk& chunk) = 0;
    // Frames by which a decoder shows each frame later than its chunk: 1 once a codec has held a
    // frame back (B-frames), which it has done by its second chunk if it ever does.
    virtual int Lag() const { return 0; }
};

enum class ServeMode { Compress, Uncompressed, ServeOnly };

// Frames first .. first + count - 1 of `script`; with a codec (Compress) it is begun here.
std::unique_ptr<VideoSource> ScriptVideo(fsclient::ClipScript& script, int first, int count,
                                         ServeMode mode, VideoCodec* codec);

// Frames first .. first + count - 1 of the AVI, starting on a key frame; frames that have no
// chunk in the source get an empty one, so that the copy keeps its timing.
std::unique_ptr<VideoSource> AviVideo(std::unique_ptr<AviVideoReader> reader, int64_t first,
                                      int64_t count);

}  // namespace jobrunner
