#include "AviInput.h"

#include <cstring>
#include <fstream>

#include "media/MediaError.h"

extern "C" {
#include <libavformat/avformat.h>
}

namespace jobrunner {

namespace {

std::string ErrorText(int code) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return text;
}

}  // namespace

bool LooksLikeAvi(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    char head[12] = {};
    return in.read(head, sizeof head) && std::memcmp(head, "RIFF", 4) == 0 &&
           std::memcmp(head + 8, "AVI ", 4) == 0;
}

// One demuxer on the file that keeps the n-th stream of one kind and drops the others. The
// reader hands out chunks as they are: no parsing into frames, no invented time stamps.
class AviDemuxer {
  public:
    AviDemuxer(const std::string& path, AVMediaType type, int n) : path_(path) {
        context_ = avformat_alloc_context();
        packet_ = av_packet_alloc();
        if (!context_ || !packet_) throw media::MediaError("Out of memory reading " + path);
        context_->flags |= AVFMT_FLAG_NOPARSE | AVFMT_FLAG_NOFILLIN;
        const int opened =
            avformat_open_input(&context_, path.c_str(), av_find_input_format("avi"), nullptr);
        if (opened < 0) {
            context_ = nullptr;  // freed by the failed open
            throw media::MediaError("The AVI " + path + " cannot be read: " + ErrorText(opened));
        }
        int seen = 0;
        for (unsigned i = 0; i < context_->nb_streams; ++i) {
            AVStream* s = context_->streams[i];
            const bool wanted = s->codecpar->codec_type == type && seen++ == n && !stream_;
            if (wanted) stream_ = s;
            s->discard = wanted ? AVDISCARD_DEFAULT : AVDISCARD_ALL;
        }
        if (!stream_) {
            const char* kind = type == AVMEDIA_TYPE_VIDEO ? "video stream" : "audio stream";
            throw media::MediaError("The AVI " + path + " has no " + kind +
                                    (type == AVMEDIA_TYPE_VIDEO ? "" : " " + std::to_string(n)));
        }
    }
    ~AviDemuxer() {
        av_packet_free(&packet_);
        avformat_close_input(&context_);
    }
    AviDemuxer(const AviDemuxer&) = delete;
    AviDemuxer& operator=(const AviDemuxer&) = delete;

    AVStream* Stream() const { return stream_; }
    AVPacket* Packet() const { return packet_; }
    const std::string& Path() const { return path_; }

    // The next packet of the stream into Packet(); false at the end.
    bool Read() {
        for (;;) {
            av_packet_unref(packet_);
            const int got = av_read_frame(context_, packet_);
            if (got == AVERROR_EOF) return false;
            if (got < 0)
                throw media::MediaError("The AVI " + path_ + " cannot be read: " + ErrorText(got));
            if (packet_->stream_index == stream_->index) return true;
        }
    }
    bool Seek(int64_t timestamp) {
        return av_seek_frame(context_, stream_->index, timestamp, AVSEEK_FLAG_BACKWARD) >= 0;
    }
    double Seconds(int64_t timestamp) const {
        return double(timestamp) * av_q2d(stream_->time_base);
    }

  private:
    std::string path_;
    AVFormatContext* context_ = nullptr;
    AVPacket* packet_ = nullptr;
    AVStream* stream_ = nullptr;
};

AviVideoReader::AviVideoReader(const std::string& path)
    : demuxer_(std::make_unique<AviDemuxer>(path, AVMEDIA_TYPE_VIDEO, 0)) {
    const AVStream* s = demuxer_->Stream();
    const AVCodecParameters* p = s->codecpar;
    description_.width = p->width;
    description_.height = p->height;
    // An AVI's video ticks are its frames.
    description_.rateNum = uint32_t(s->time_base.den);
    description_.rateDen = uint32_t(s->time_base.num);
    description_.fourcc = p->codec_tag;
    description_.bitCount = uint16_t(p->bits_per_coded_sample ? p->bits_per_coded_sample : 24);
    description_.imageSize = uint32_t(p->width) * uint32_t(p->height) * 3;
    if (p->extradata && p->extradata_size > 0)
        description_.extra.assign(p->extradata, p->extradata + p->extradata_size);
    framesInHeader_ = s->nb_frames;
    if (description_.width <= 0 || description_.height <= 0 || description_.rateNum == 0)
        throw media::MediaError("The AVI " + path + " has no usable video stream header");
    pending_ = demuxer_->Read();
    if (pending_) startDts_ = demuxer_->Packet()->dts;
    startSeconds_ = demuxer_->Seconds(startDts_);
}

AviVideoReader::~AviVideoReader() = default;

const std::string& AviVideoReader::Path() const {
    return demuxer_->Path();
}

void AviVideoReader::Seek(int64_t first) {
    const std::string where = "The AVI " + demuxer_->Path() + ": frame " + std::to_string(first);
    const int64_t start = startDts_;
    if (first > 0) {
        // Without an index the reading simply goes on from the first frame.
        if (demuxer_->Seek(start + first)) pending_ = false;
        for (;;) {
            if (!pending_ && !demuxer_->Read())
                throw media::MediaError(where + " is beyond its end");
            pending_ = true;
            if (demuxer_->Packet()->dts - start >= first) break;
            pending_ = false;
        }
    }
    if (!pending_) throw media::MediaError(where + " is beyond its end");
    const AVPacket* p = demuxer_->Packet();
    if (p->dts - start != first || !(p->flags & AV_PKT_FLAG_KEY))
        throw media::MediaError(where + " is not a key frame; a copied range must start on one");
}

bool AviVideoReader::Next(int64_t& frame, const uint8_t*& data, size_t& size, bool& key) {
    if (!pending_ && !demuxer_->Read()) return false;
    pending_ = false;
    const AVPacket* p = demuxer_->Packet();
    frame = p->dts - startDts_;
    data = p->data;
    size = size_t(p->size);
    key = (p->flags & AV_PKT_FLAG_KEY) != 0;
    return true;
}

namespace {

class AviAudioBytes final : public ByteFeed {
  public:
    explicit AviAudioBytes(std::unique_ptr<AviDemuxer> demuxer)
        : demuxer_(std::move(demuxer)),
          left_(demuxer_->Read() ? size_t(demuxer_->Packet()->size) : 0) {}
    size_t Read(uint8_t* to, size_t max) override {
        while (left_ == 0) {
            if (!demuxer_->Read()) return 0;
            left_ = size_t(demuxer_->Packet()->size);
        }
        const AVPacket* p = demuxer_->Packet();
        const size_t n = std::min(max, left_);
        std::memcpy(to, p->data + (size_t(p->size) - left_), n);
        left_ -= n;
        return n;
    }
    double FirstSeconds() const {
        const AVPacket* p = demuxer_->Packet();
        return p->dts == AV_NOPTS_VALUE ? 0 : demuxer_->Seconds(p->dts);
    }

  private:
    std::unique_ptr<AviDemuxer> demuxer_;
    size_t left_;
};

}  // namespace

std::unique_ptr<ByteFeed> AviAudioFeed(const std::string& path, int n, AviAudioInfo& info) {
    auto demuxer = std::make_unique<AviDemuxer>(path, AVMEDIA_TYPE_AUDIO, n);
    const AVCodecID codec = demuxer->Stream()->codecpar->codec_id;
    if (codec == AV_CODEC_ID_AC3)
        info.coding = AudioCoding::Ac3;
    else if (codec == AV_CODEC_ID_MP1 || codec == AV_CODEC_ID_MP2 || codec == AV_CODEC_ID_MP3)
        info.coding = AudioCoding::Mpeg;
    else
        throw media::MediaError("Audio stream " + std::to_string(n) + " of " + path + " is " +
                                avcodec_get_name(codec) + ": only AC3 and MPEG audio are copied");
    auto feed = std::make_unique<AviAudioBytes>(std::move(demuxer));
    info.startSeconds = feed->FirstSeconds();
    return feed;
}

}  // namespace jobrunner
