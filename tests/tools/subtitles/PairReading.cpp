#include "PairReading.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

namespace subtitletest {
namespace {

bool Near(uint32_t argb, int r, int g, int b) {
    const auto close = [](int a, int e) { return a - e < 24 && e - a < 24; };
    return close(int(argb >> 16 & 0xFF), r) && close(int(argb >> 8 & 0xFF), g) &&
           close(int(argb & 0xFF), b);
}

void LookAtPixels(const AVSubtitle& sub, SeenSubpicture& seen) {
    for (unsigned r = 0; r < sub.num_rects; ++r) {
        const AVSubtitleRect& rect = *sub.rects[r];
        seen.forced = seen.forced || (rect.flags & AV_SUBTITLE_FLAG_FORCED);
        const auto* palette = reinterpret_cast<const uint32_t*>(rect.data[1]);
        for (int y = 0; y < rect.h; ++y)
            for (int x = 0; x < rect.w; ++x) {
                const uint32_t argb = palette[rect.data[0][y * rect.linesize[0] + x]];
                if ((argb >> 24) < 0x80) continue;
                seen.yellow = seen.yellow || Near(argb, 255, 255, 0);
                seen.white = seen.white || Near(argb, 255, 255, 255);
            }
    }
}

// Decodes one packet of `stream`; false when the decoder refuses it.
bool Decode(AVFormatContext* format, const AVPacket* packet, SeenSubpicture& seen) {
    const AVStream* stream = format->streams[packet->stream_index];
    AVCodecContext* codec = avcodec_alloc_context3(avcodec_find_decoder(AV_CODEC_ID_DVD_SUBTITLE));
    avcodec_parameters_to_context(codec, stream->codecpar);
    bool ok = avcodec_open2(codec, codec->codec, nullptr) == 0;
    AVSubtitle sub{};
    int got = 0;
    ok = ok && avcodec_decode_subtitle2(codec, &sub, &got, const_cast<AVPacket*>(packet)) >= 0 &&
         got;
    if (ok) LookAtPixels(sub, seen);
    avsubtitle_free(&sub);
    avcodec_free_context(&codec);
    return ok;
}

}  // namespace

SeenPair ReadPairWithFfmpeg(const std::string& idxPath) {
    SeenPair pair;
    AVFormatContext* format = nullptr;
    if (avformat_open_input(&format, idxPath.c_str(), nullptr, nullptr) < 0) {
        pair.error = "ffmpeg cannot open " + idxPath;
        return pair;
    }
    if (std::string(format->iformat->name) != "vobsub") pair.error = "not read as vobsub";
    AVPacket* packet = av_packet_alloc();
    while (pair.error.empty() && av_read_frame(format, packet) >= 0) {
        const AVStream* stream = format->streams[packet->stream_index];
        const AVDictionaryEntry* language = av_dict_get(stream->metadata, "language", nullptr, 0);
        SeenSubpicture seen;
        seen.stream = stream->id;
        seen.language = language ? language->value : "";
        seen.ms = av_rescale_q(packet->pts, stream->time_base, AVRational{1, 1000});
        if (!Decode(format, packet, seen)) pair.error = "a subpicture does not decode";
        pair.subpictures.push_back(seen);
        av_packet_unref(packet);
    }
    av_packet_free(&packet);
    avformat_close_input(&format);
    return pair;
}

}  // namespace subtitletest
