#include "Subpicture.h"

#include <cstdio>
#include <cstring>
#include <stdexcept>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/dict.h>
}

namespace subrender {
namespace {

// Studio-range BT.601, as DVD video is coded.
void ToVideoColour(uint32_t argb, uint8_t& y, uint8_t& cb, uint8_t& cr) {
    const int r = int(argb >> 16 & 0xFF), g = int(argb >> 8 & 0xFF), b = int(argb & 0xFF);
    y = uint8_t((16 * 256 + 66 * r + 129 * g + 25 * b + 128) >> 8);
    cb = uint8_t((128 * 256 - 38 * r - 74 * g + 112 * b + 128) >> 8);
    cr = uint8_t((128 * 256 + 112 * r - 94 * g - 18 * b + 128) >> 8);
}

Bitmap Convert(const AVSubtitleRect& rect, int alphaPercent) {
    Bitmap bm;
    bm.x = rect.x, bm.y = rect.y, bm.width = rect.w, bm.height = rect.h;
    const size_t pixels = size_t(rect.w) * size_t(rect.h);
    bm.luma.resize(pixels), bm.cb.resize(pixels), bm.cr.resize(pixels), bm.alpha.resize(pixels);
    uint8_t y[256], cb[256], cr[256], a[256];
    const auto* palette = reinterpret_cast<const uint32_t*>(rect.data[1]);
    for (int i = 0; i < 256; ++i) {
        const uint32_t argb = i < rect.nb_colors ? palette[i] : 0;
        ToVideoColour(argb, y[i], cb[i], cr[i]);
        a[i] = uint8_t((argb >> 24) * unsigned(alphaPercent) / 100);
    }
    for (int row = 0; row < rect.h; ++row)
        for (int col = 0; col < rect.w; ++col) {
            const uint8_t index = rect.data[0][size_t(row) * size_t(rect.linesize[0]) + col];
            const size_t at = size_t(row) * size_t(rect.w) + col;
            bm.luma[at] = y[index], bm.cb[at] = cb[index], bm.cr[at] = cr[index];
            bm.alpha[at] = a[index];
        }
    return bm;
}

std::string PaletteOption(const std::array<uint32_t, 16>& palette) {
    std::string text;
    for (uint32_t c : palette) {
        char item[16];
        std::snprintf(item, sizeof item, "%s%06x", text.empty() ? "" : ",", unsigned(c & 0xFFFFFF));
        text += item;
    }
    return text;
}

}  // namespace

SubpictureDecoder::SubpictureDecoder(const std::array<uint32_t, 16>* palette, int alphaPercent)
    : alphaPercent_(alphaPercent) {
    const AVCodec* codec = avcodec_find_decoder(AV_CODEC_ID_DVD_SUBTITLE);
    if (!codec) throw std::runtime_error("this libavcodec has no DVD subpicture decoder");
    context_ = avcodec_alloc_context3(codec);
    if (!context_) throw std::bad_alloc();
    AVDictionary* options = nullptr;
    if (palette) av_dict_set(&options, "palette", PaletteOption(*palette).c_str(), 0);
    const int r = avcodec_open2(context_, codec, &options);
    av_dict_free(&options);
    if (r < 0) {
        avcodec_free_context(&context_);
        throw std::runtime_error("the DVD subpicture decoder cannot be opened");
    }
}

SubpictureDecoder::~SubpictureDecoder() {
    avcodec_free_context(&context_);
}

std::optional<Subpicture> SubpictureDecoder::Decode(const std::vector<uint8_t>& unit,
                                                    std::string& problem) {
    avcodec_flush_buffers(context_);
    AVPacket* packet = av_packet_alloc();
    if (!packet || av_new_packet(packet, int(unit.size())) < 0) {
        av_packet_free(&packet);
        throw std::bad_alloc();
    }
    if (!unit.empty()) std::memcpy(packet->data, unit.data(), unit.size());
    AVSubtitle sub{};
    int got = 0;
    const int r = avcodec_decode_subtitle2(context_, &sub, &got, packet);
    av_packet_free(&packet);
    if (r < 0 || !got) {
        problem = "the subpicture does not decode";
        if (got) avsubtitle_free(&sub);
        return std::nullopt;
    }
    Subpicture out;
    out.startMs = sub.start_display_time;
    if (sub.end_display_time > sub.start_display_time && sub.end_display_time < 0x7FFFFFFFu)
        out.endMs = sub.end_display_time;
    for (unsigned i = 0; i < sub.num_rects; ++i) {
        const AVSubtitleRect& rect = *sub.rects[i];
        out.forced = out.forced || (rect.flags & AV_SUBTITLE_FLAG_FORCED);
        if (rect.type == SUBTITLE_BITMAP && rect.w > 0 && rect.h > 0 && rect.data[0] &&
            rect.data[1])
            out.bitmaps.push_back(Convert(rect, alphaPercent_));
    }
    avsubtitle_free(&sub);
    return out;
}

}  // namespace subrender
