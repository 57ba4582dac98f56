#pragma once
// Decoded frames in any sample format, layout and rate to the MP3's one or two channels of float
// samples at the encoder's rate: libswresample does the downmix (with our matrix), the format
// conversion and, only when the rates differ, the resampling. A frame whose layout, format or
// rate differs from the last one (a track that changes from 2.0 to 5.1) starts a new converter
// after the old one has given up what it held.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Downmix.h"

extern "C" {
#include <libavutil/frame.h>
}

struct SwrContext;

namespace audio {

// Planar float samples, one vector per output channel.
struct Pcm {
    std::vector<float> channel[2];
    size_t Samples() const { return channel[0].size(); }
};

class Mixer {
  public:
    using Describe = std::function<void(const std::string&)>;

    // `describe` hears the downmix of every layout the track uses.
    Mixer(int outChannels, int outRate, const DownmixLevels& levels, Describe describe);
    ~Mixer();
    Mixer(const Mixer&) = delete;
    Mixer& operator=(const Mixer&) = delete;

    // Appends the converted samples of `frame` to `out`.
    void Add(const AVFrame& frame, Pcm& out);
    // Appends what the converter still holds (the resampler's tail).
    void Flush(Pcm& out);

  private:
    void Start(const AVFrame& frame);
    void Convert(const uint8_t* const* in, int samples, Pcm& out);

    int outChannels_;
    int outRate_;
    DownmixLevels levels_;
    Describe describe_;
    SwrContext* swr_ = nullptr;
    int inFormat_ = -1;
    int inRate_ = 0;
    AVChannelLayout inLayout_{};
};

}  // namespace audio
