#include "Mp3Encoder.h"

#include <stdexcept>

#include <lame/lame.h>

namespace audio {
namespace {

// The MP3 synthesis filter bank's delay (528 samples) plus the one of the decoders' windowing.
constexpr int kDecoderDelay = 529;

MPEG_mode ModeOf(const Mp3Settings& s) {
    if (s.channels == 1) return MONO;
    switch (s.stereo) {
        case StereoMode::Stereo:
            return STEREO;
        case StereoMode::Joint:
            return JOINT_STEREO;
        default:
            return NOT_SET;
    }
}

void Quiet(const char*, va_list) {}

}  // namespace

Mp3Encoder::Mp3Encoder(const Mp3Settings& s) : lame_(lame_init()) {
    if (!lame_) throw std::bad_alloc();
    lame_set_errorf(lame_, Quiet);
    lame_set_debugf(lame_, Quiet);
    lame_set_msgf(lame_, Quiet);
    lame_set_num_channels(lame_, s.channels);
    lame_set_in_samplerate(lame_, s.inRate);
    lame_set_out_samplerate(lame_, s.outRate);
    lame_set_mode(lame_, ModeOf(s));
    if (s.rate == RateMode::Abr) {
        lame_set_preset(lame_, s.kbps);  // 8 to 320: LAME's ABR preset at that bitrate
    } else {
        lame_set_VBR(lame_, vbr_off);
        lame_set_brate(lame_, s.kbps);
    }
    if (s.highQuality) lame_set_quality(lame_, 2);
    lame_set_bWriteVbrTag(lame_, 1);
    lame_set_write_id3tag_automatic(lame_, 0);
    if (lame_init_params(lame_) < 0) {
        lame_close(lame_);
        throw std::runtime_error("the MP3 encoder refuses " + std::to_string(s.kbps) +
                                 " kbit/s for " + std::to_string(s.channels) + " channel(s) at " +
                                 std::to_string(s.inRate) + " Hz");
    }
}

Mp3Encoder::~Mp3Encoder() {
    lame_close(lame_);
}

int Mp3Encoder::OutRate() const {
    return lame_get_out_samplerate(lame_);
}

int Mp3Encoder::Delay() const {
    return lame_get_encoder_delay(lame_) + kDecoderDelay;
}

int Mp3Encoder::Bitrate() const {
    return lame_get_VBR(lame_) == vbr_abr ? lame_get_VBR_mean_bitrate_kbps(lame_)
                                          : lame_get_brate(lame_);
}

int Mp3Encoder::FrameSamples() const {
    return lame_get_framesize(lame_);
}

int64_t Mp3Encoder::Frames() const {
    return lame_get_frameNum(lame_);
}

const std::vector<uint8_t>& Mp3Encoder::Encode(const float* left, const float* right, int samples) {
    // LAME's own bound for the output of `samples` input samples.
    bytes_.resize(size_t(samples) * 5 / 4 + 7200);
    const int n = lame_encode_buffer_ieee_float(lame_, left, right ? right : left, samples,
                                                bytes_.data(), int(bytes_.size()));
    if (n < 0) throw std::runtime_error("the MP3 encoder failed (" + std::to_string(n) + ")");
    bytes_.resize(size_t(n));
    return bytes_;
}

const std::vector<uint8_t>& Mp3Encoder::Finish() {
    bytes_.resize(7200);
    const int n = lame_encode_flush(lame_, bytes_.data(), int(bytes_.size()));
    if (n < 0)
        throw std::runtime_error("the MP3 encoder failed at the end (" + std::to_string(n) + ")");
    bytes_.resize(size_t(n));
    return bytes_;
}

std::vector<uint8_t> Mp3Encoder::InfoFrame() {
    std::vector<uint8_t> frame(2880);  // the largest layer III frame
    frame.resize(lame_get_lametag_frame(lame_, frame.data(), frame.size()));
    return frame;
}

}  // namespace audio
