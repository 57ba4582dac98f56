#include "Mixer.h"

#include <stdexcept>

#include "AudioSource.h"

extern "C" {
#include <libswresample/swresample.h>
}

namespace audio {

Mixer::Mixer(int outChannels, int outRate, const DownmixLevels& levels, Describe describe)
    : outChannels_(outChannels),
      outRate_(outRate),
      levels_(levels),
      describe_(std::move(describe)) {}

Mixer::~Mixer() {
    swr_free(&swr_);
    av_channel_layout_uninit(&inLayout_);
}

void Mixer::Start(const AVFrame& frame) {
    swr_free(&swr_);
    av_channel_layout_uninit(&inLayout_);
    if (av_channel_layout_copy(&inLayout_, &frame.ch_layout) < 0) throw std::bad_alloc();
    inFormat_ = frame.format;
    inRate_ = frame.sample_rate;

    const DownmixMatrix m = MakeDownmix(inLayout_, outChannels_, levels_);
    AVChannelLayout outLayout{};
    av_channel_layout_default(&outLayout, outChannels_);
    int r = swr_alloc_set_opts2(&swr_, &outLayout, AV_SAMPLE_FMT_FLTP, outRate_, &inLayout_,
                                AVSampleFormat(inFormat_), inRate_, 0, nullptr);
    if (r >= 0) r = swr_set_matrix(swr_, m.gains.data(), m.inChannels);
    if (r >= 0) r = swr_init(swr_);
    if (r < 0) throw std::runtime_error("the sample converter cannot be set up: " + AvErrorText(r));
    describe_(DescribeDownmix(m, inLayout_));
}

void Mixer::Convert(const uint8_t* const* in, int samples, Pcm& out) {
    const int room = swr_get_out_samples(swr_, samples);
    if (room < 0) throw std::runtime_error("the sample converter failed");
    const size_t at = out.Samples();
    for (int c = 0; c < outChannels_; ++c) out.channel[c].resize(at + size_t(room));
    uint8_t* planes[2] = {reinterpret_cast<uint8_t*>(out.channel[0].data() + at),
                          reinterpret_cast<uint8_t*>(out.channel[outChannels_ - 1].data() + at)};
    const int made = swr_convert(swr_, planes, room, const_cast<const uint8_t**>(in), samples);
    if (made < 0) throw std::runtime_error("the sample converter failed: " + AvErrorText(made));
    for (int c = 0; c < outChannels_; ++c) out.channel[c].resize(at + size_t(made));
}

void Mixer::Add(const AVFrame& frame, Pcm& out) {
    if (!swr_ || frame.format != inFormat_ || frame.sample_rate != inRate_ ||
        av_channel_layout_compare(&frame.ch_layout, &inLayout_) != 0) {
        Flush(out);
        Start(frame);
    }
    Convert(frame.extended_data, frame.nb_samples, out);
}

void Mixer::Flush(Pcm& out) {
    if (swr_) Convert(nullptr, 0, out);
}

}  // namespace audio
