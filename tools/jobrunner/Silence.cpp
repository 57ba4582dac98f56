#include "Silence.h"

#include <memory>

#include "media/MediaError.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/channel_layout.h>
}

namespace jobrunner {

namespace {

uint64_t Ac3ChannelMask(const FrameHeader& h) {
    static const uint64_t kByMode[8] = {
        AV_CH_LAYOUT_STEREO,  // two independent channels: the nearest layout the encoder has
        AV_CH_LAYOUT_MONO,    AV_CH_LAYOUT_STEREO, AV_CH_LAYOUT_SURROUND, AV_CH_LAYOUT_2_1,
        AV_CH_LAYOUT_4POINT0, AV_CH_LAYOUT_2_2,    AV_CH_LAYOUT_5POINT0,
    };
    return kByMode[h.acmod] | (h.lfe ? AV_CH_LOW_FREQUENCY : 0);
}

struct CodecFree {
    void operator()(AVCodecContext* c) const { avcodec_free_context(&c); }
    void operator()(AVFrame* f) const { av_frame_free(&f); }
    void operator()(AVPacket* p) const { av_packet_free(&p); }
};

[[noreturn]] void Fail(const FrameHeader& h, const std::string& why) {
    throw media::MediaError("No silent frame can be made for the " + Describe(h) +
                            " audio: " + why);
}

// A silent AC3 frame: a few frames of zeros go through the encoder so that the one kept is one
// of its steady frames.
std::vector<uint8_t> SilentAc3Frame(const FrameHeader& h) {
    const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_AC3);
    if (!codec) Fail(h, "libavcodec has no AC3 encoder");
    std::unique_ptr<AVCodecContext, CodecFree> context(avcodec_alloc_context3(codec));
    std::unique_ptr<AVFrame, CodecFree> frame(av_frame_alloc());
    std::unique_ptr<AVPacket, CodecFree> packet(av_packet_alloc());
    if (!context || !frame || !packet) Fail(h, "out of memory");
    context->sample_fmt = AV_SAMPLE_FMT_FLTP;
    context->sample_rate = h.sampleRate;
    context->bit_rate = h.bitRate;
    av_channel_layout_from_mask(&context->ch_layout, Ac3ChannelMask(h));
    if (avcodec_open2(context.get(), codec, nullptr) < 0) Fail(h, "the encoder refuses it");
    frame->format = AV_SAMPLE_FMT_FLTP;
    frame->nb_samples = context->frame_size;
    frame->sample_rate = h.sampleRate;
    if (av_channel_layout_copy(&frame->ch_layout, &context->ch_layout) < 0 ||
        av_frame_get_buffer(frame.get(), 0) < 0)
        Fail(h, "out of memory");
    std::vector<uint8_t> kept;
    for (int n = 0; n < 4; ++n) {
        if (av_frame_make_writable(frame.get()) < 0) Fail(h, "out of memory");
        for (int c = 0; c < frame->ch_layout.nb_channels; ++c)
            std::fill_n(reinterpret_cast<float*>(frame->extended_data[c]), frame->nb_samples, 0.0f);
        if (avcodec_send_frame(context.get(), frame.get()) < 0) Fail(h, "the encoder fails");
        while (avcodec_receive_packet(context.get(), packet.get()) == 0) {
            kept.assign(packet->data, packet->data + packet->size);
            av_packet_unref(packet.get());
        }
    }
    if (kept.size() != h.size) Fail(h, "the encoder makes frames of another size");
    return kept;
}

}  // namespace

Silence::Silence(const FrameHeader& like) {
    if (like.coding == AudioCoding::Ac3) {
        plain_ = SilentAc3Frame(like);
        return;
    }
    plain_ = SilentMpegFrame(like, false);
    padded_ = SilentMpegFrame(like, true);
    slot_ = double(padded_.size() - plain_.size());
    perFrame_ = double(like.bitRate) * like.samplesPerFrame / (8.0 * like.sampleRate);
}

const std::vector<uint8_t>& Silence::Next() {
    if (padded_.empty()) return plain_;
    owed_ += perFrame_ - double(plain_.size());
    if (owed_ < slot_) return plain_;
    owed_ -= slot_;
    return padded_;
}

}  // namespace jobrunner
