#pragma once
// What a job writes: the AVI, its audio chunks interleaved with the video by time, frames.log,
// and the progress lines. Files are written under temporary names beside their final ones and
// renamed only when the whole job went well.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "AudioTrack.h"
#include "AviWriter.h"
#include "VideoSources.h"
#include "media/OutputFile.h"

namespace jobrunner {

// `path` with a suffix that names this process: where a file is written until it is whole.
std::string TemporaryName(const std::string& path);

// One line a frame: the frame's type and its size in bytes.
class FramesLog {
  public:
    explicit FramesLog(const std::string& path);
    void Add(char type, size_t bytes);
    void Commit();

  private:
    std::string path_;
    media::OutputFile file_;
};

// "progress <done> <total>" on standard output, about every hundredth and at the end.
class Progress {
  public:
    explicit Progress(int64_t total) : total_(total) {}
    void Done(int64_t done);

  private:
    int64_t total_;
    int64_t shown_ = -1;
};

struct AudioOutput {
    std::unique_ptr<AudioTrack> track;
    int preloadMs = 0;
    bool interleaved = true;
    bool finished = false;
};

class AviOutput {
  public:
    AviOutput(const std::string& path, const VideoSource& video, std::vector<AudioOutput> audio,
              std::vector<Comment> comments, uint32_t superIndexRoom);
    // The next video chunk, after the audio that plays before it (and within the preload). The
    // audio is placed on the timeline at the second chunk, when the video's lag is known: every
    // decoder shows the frames of a codec with B-frames one frame after their chunks, so the
    // audio goes one frame later too.
    void Video(const VideoChunk& chunk);
    // The audio still due, the final header, and the file under its name.
    void Commit();

  private:
    void PlaceAudio();
    void AudioUntil(double seconds);
    void WriteAudioChunk(size_t a);

    const VideoSource& video_;
    bool placed_ = false;
    std::string path_;
    media::OutputFile file_;
    std::vector<AudioOutput> audio_;
    std::unique_ptr<AviWriter> writer_;
    double frameSeconds_;
    int64_t frames_ = 0;
    AudioChunk chunk_;
};

}  // namespace jobrunner
