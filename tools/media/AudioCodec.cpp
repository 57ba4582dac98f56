#include "media/AudioCodec.h"

extern "C" {
#include <libavcodec/avcodec.h>
}

#include <memory>

#include "media/MediaError.h"

namespace media {
namespace {

struct ContextFree {
    void operator()(AVCodecContext* c) const { avcodec_free_context(&c); }
};
struct ParserFree {
    void operator()(AVCodecParserContext* p) const { av_parser_close(p); }
};
struct PacketFree {
    void operator()(AVPacket* p) const { av_packet_free(&p); }
};
struct FrameFree {
    void operator()(AVFrame* f) const { av_frame_free(&f); }
};

AVCodecID CodecOf(StreamKind kind) {
    switch (kind) {
        case StreamKind::Ac3:
            return AV_CODEC_ID_AC3;
        case StreamKind::Dts:
            return AV_CODEC_ID_DTS;
        case StreamKind::MpegAudio:
            return AV_CODEC_ID_MP2;
        default:
            return AV_CODEC_ID_PCM_DVD;
    }
}

std::string CodingText(AVCodecID id, int sampleRate) {
    const char* version = sampleRate > 0 && sampleRate < 32000 ? "MPEG2" : "MPEG1";
    switch (id) {
        case AV_CODEC_ID_AC3:
            return "AC3";
        case AV_CODEC_ID_EAC3:
            return "EAC3";
        case AV_CODEC_ID_DTS:
            return "DTS";
        case AV_CODEC_ID_MP1:
            return std::string(version) + " L1";
        case AV_CODEC_ID_MP2:
            return std::string(version) + " L2";
        case AV_CODEC_ID_MP3:
            return std::string(version) + " L3";
        default:
            return "LPCM";
    }
}

// Decodes frames until one gives a result; the decoder's context then holds the format.
void LearnFromDecoder(AVCodecID id, const std::vector<std::vector<uint8_t>>& frames,
                      AudioFormat& format) {
    const AVCodec* codec = avcodec_find_decoder(id);
    if (!codec) return;
    std::unique_ptr<AVCodecContext, ContextFree> context(avcodec_alloc_context3(codec));
    std::unique_ptr<AVPacket, PacketFree> packet(av_packet_alloc());
    std::unique_ptr<AVFrame, FrameFree> frame(av_frame_alloc());
    if (!context || !packet || !frame) return;
    context->bit_rate = 0;  // a context starts with a default rate, not a measured one
    if (avcodec_open2(context.get(), codec, nullptr) < 0) return;
    for (const std::vector<uint8_t>& bytes : frames) {
        if (av_new_packet(packet.get(), static_cast<int>(bytes.size())) < 0) return;
        std::copy(bytes.begin(), bytes.end(), packet->data);
        const int sent = avcodec_send_packet(context.get(), packet.get());
        av_packet_unref(packet.get());
        if (sent < 0 || avcodec_receive_frame(context.get(), frame.get()) < 0) continue;
        format.channels = context->ch_layout.nb_channels;
        format.sampleRate = context->sample_rate;
        if (context->bit_rate > 0) format.bitRate = context->bit_rate;
        return;
    }
}

}  // namespace

std::string AudioFormat::Text() const {
    std::string text = coding;
    if (channels > 0) text += " " + std::to_string(channels) + "ch";
    if (sampleRate > 0) text += " " + std::to_string(sampleRate / 1000) + "kHz";
    if (bitsPerSample > 0) text += " " + std::to_string(bitsPerSample) + "bit";
    if (bitRate > 0) text += " " + std::to_string(bitRate / 1000) + "Kbps";
    return text;
}

AudioFormat DescribeAudio(StreamKind kind, const uint8_t* data, size_t size) {
    AudioFormat format;
    AVCodecID id = CodecOf(kind);
    format.coding = CodingText(id, 0);
    std::unique_ptr<AVCodecParserContext, ParserFree> parser(av_parser_init(id));
    std::unique_ptr<AVCodecContext, ContextFree> context(avcodec_alloc_context3(nullptr));
    if (!parser || !context) return format;
    context->codec_id = id;
    context->bit_rate = 0;
    std::vector<std::vector<uint8_t>> frames;
    while (size > 0 && frames.size() < 4) {
        uint8_t* out = nullptr;
        int outSize = 0;
        const int used = av_parser_parse2(parser.get(), context.get(), &out, &outSize, data,
                                          static_cast<int>(std::min<size_t>(size, 1 << 16)),
                                          AV_NOPTS_VALUE, AV_NOPTS_VALUE, 0);
        if (used <= 0 && outSize == 0) break;
        data += used;
        size -= static_cast<size_t>(used);
        if (outSize > 0) frames.emplace_back(out, out + outSize);
    }
    id = context->codec_id;  // the parser tells the MPEG audio layer
    format.channels = context->ch_layout.nb_channels;
    format.sampleRate = context->sample_rate;
    format.bitRate = context->bit_rate;
    LearnFromDecoder(id, frames, format);
    format.coding = CodingText(id, format.sampleRate);
    return format;
}

LpcmDecoder::LpcmDecoder() {
    const AVCodec* codec = avcodec_find_decoder(AV_CODEC_ID_PCM_DVD);
    if (!codec) throw MediaError("libavcodec has no DVD LPCM decoder");
    context_ = avcodec_alloc_context3(codec);
    frame_ = av_frame_alloc();
    packet_ = av_packet_alloc();
    if (!context_ || !frame_ || !packet_ || avcodec_open2(context_, codec, nullptr) < 0)
        throw MediaError("Cannot open libavcodec's DVD LPCM decoder");
}

LpcmDecoder::~LpcmDecoder() {
    av_packet_free(&packet_);
    av_frame_free(&frame_);
    avcodec_free_context(&context_);
}

bool LpcmDecoder::Decode(const uint8_t* data, size_t size, std::vector<uint8_t>& out) {
    if (size == 0 || av_new_packet(packet_, static_cast<int>(size)) < 0) return false;
    std::copy(data, data + size, packet_->data);
    const int sent = avcodec_send_packet(context_, packet_);
    av_packet_unref(packet_);
    if (sent < 0) return false;
    while (avcodec_receive_frame(context_, frame_) >= 0) {
        Append(*frame_, out);
        av_frame_unref(frame_);
    }
    return true;
}

void LpcmDecoder::Append(const AVFrame& frame, std::vector<uint8_t>& out) const {
    const size_t samples = static_cast<size_t>(frame.nb_samples) * frame.ch_layout.nb_channels;
    if (frame.format == AV_SAMPLE_FMT_S16) {
        const auto* s = reinterpret_cast<const int16_t*>(frame.data[0]);
        for (size_t i = 0; i < samples; ++i) {
            const auto v = static_cast<uint16_t>(s[i]);
            out.push_back(static_cast<uint8_t>(v));
            out.push_back(static_cast<uint8_t>(v >> 8));
        }
    } else if (frame.format == AV_SAMPLE_FMT_S32) {  // 20 and 24 bits, in the top bits
        const auto* s = reinterpret_cast<const int32_t*>(frame.data[0]);
        for (size_t i = 0; i < samples; ++i) {
            const auto v = static_cast<uint32_t>(s[i]);
            out.push_back(static_cast<uint8_t>(v >> 8));
            out.push_back(static_cast<uint8_t>(v >> 16));
            out.push_back(static_cast<uint8_t>(v >> 24));
        }
    }
}

PcmFormat LpcmDecoder::Format() const {
    PcmFormat f;
    f.channels = context_->ch_layout.nb_channels;
    f.sampleRate = context_->sample_rate;
    f.bitsPerSample = context_->sample_fmt == AV_SAMPLE_FMT_S32 ? 24 : 16;
    if (context_->ch_layout.order == AV_CHANNEL_ORDER_NATIVE)
        f.channelMask = context_->ch_layout.u.mask;
    return f;
}

AudioFormat LpcmDecoder::Description() const {
    AudioFormat a;
    a.coding = "LPCM";
    a.channels = context_->ch_layout.nb_channels;
    a.sampleRate = context_->sample_rate;
    a.bitsPerSample = context_->bits_per_raw_sample > 0 ? context_->bits_per_raw_sample : 16;
    return a;
}

}  // namespace media
