#pragma once
// LAME's library with the settings of the command line: an average bitrate through LAME's own
// preset for that bitrate, or a constant bitrate; "-h" is LAME's quality 2. The file starts with
// the Xing/LAME info frame (frame count, size, encoder delay), which LAME fills in at the end.
#include <cstdint>
#include <vector>

#include "Options.h"

struct lame_global_struct;

namespace audio {

struct Mp3Settings {
    int channels = 2;
    int inRate = 48000;
    int outRate = 0;  // 0: LAME picks the best rate for the bitrate
    StereoMode stereo = StereoMode::Auto;
    bool highQuality = false;
    RateMode rate = RateMode::Abr;
    int kbps = 128;
};

class Mp3Encoder {
  public:
    // Throws std::runtime_error when LAME refuses the settings.
    explicit Mp3Encoder(const Mp3Settings& settings);
    ~Mp3Encoder();
    Mp3Encoder(const Mp3Encoder&) = delete;
    Mp3Encoder& operator=(const Mp3Encoder&) = delete;

    int OutRate() const;
    // Samples by which a decoder's output lags the encoder's input: LAME's delay plus the 529 of
    // the MP3 synthesis filter bank.
    int Delay() const;
    int Bitrate() const;  // kbit/s: the constant one, or the mean aimed at

    // Encodes planar samples (`right` is ignored for mono) and returns the MP3 bytes made.
    const std::vector<uint8_t>& Encode(const float* left, const float* right, int samples);
    // The last frames.
    const std::vector<uint8_t>& Finish();
    // The finished info frame, to be written over the first frame of the file.
    std::vector<uint8_t> InfoFrame();
    int64_t Frames() const;    // audio frames so far, the info frame not counted
    int FrameSamples() const;  // samples per frame: 1152, or 576 at the low rates

  private:
    lame_global_struct* lame_ = nullptr;
    std::vector<uint8_t> bytes_;
};

}  // namespace audio
