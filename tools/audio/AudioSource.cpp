#include "AudioSource.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <set>
#include <stdexcept>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/samplefmt.h>
}

#include "platform/files.h"

namespace audio {
namespace {

// The formats a demultiplexed DVD track comes in. Anything else the probe may guess is refused.
const std::set<std::string> kReaders = {"ac3", "dts", "mp3", "wav"};

// A RIFF file of the WAVE kind, whatever its header holds further on.
bool LooksLikeWav(const std::string& path) {
    char head[12] = {};
    std::FILE* f = std::fopen(path.c_str(), "rb");
    const bool read = f && std::fread(head, 1, sizeof head, f) == sizeof head;
    if (f) std::fclose(f);
    return read && std::memcmp(head, "RIFF", 4) == 0 && std::memcmp(head + 8, "WAVE", 4) == 0;
}

// The longest stretch of silence handed out at once.
constexpr int kSilenceBlock = 4096;

}  // namespace

std::string AvErrorText(int code) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return text;
}

void AudioSource::Deleters::operator()(AVFormatContext* p) const {
    avformat_close_input(&p);
}
void AudioSource::Deleters::operator()(AVCodecContext* p) const {
    avcodec_free_context(&p);
}
void AudioSource::Deleters::operator()(AVPacket* p) const {
    av_packet_free(&p);
}
void AudioSource::Deleters::operator()(AVFrame* p) const {
    av_frame_free(&p);
}

AudioSource::AudioSource(const std::string& path, Warn warn) : path_(path), warn_(std::move(warn)) {
    if (!platform::FileExists(path_))
        throw std::runtime_error(path_ + ": the input file does not exist");
    info_.fileSize = platform::FileSize(path_);
    if (info_.fileSize < 0) throw std::runtime_error(path_ + ": the input file cannot be read");
    if (info_.fileSize == 0) throw std::runtime_error(path_ + ": the input file is empty");
    Open();
    OpenDecoder();
    packet_.reset(av_packet_alloc());
    frame_.reset(av_frame_alloc());
    silence_.reset(av_frame_alloc());
    shape_.reset(av_frame_alloc());
    if (!packet_ || !frame_ || !silence_ || !shape_) throw std::bad_alloc();
}

AudioSource::~AudioSource() = default;

void AudioSource::Open() {
    AVFormatContext* raw = nullptr;
    const std::string unknown =
        path_ + ": not audio in a known format (AC3, DTS, MPEG audio or WAV)";
    int r = avformat_open_input(&raw, path_.c_str(), nullptr, nullptr);
    if (r < 0 && LooksLikeWav(path_))
        throw std::runtime_error(path_ +
                                 ": a WAV file whose header cannot be read: " + AvErrorText(r));
    if (r < 0) throw std::runtime_error(unknown + ": " + AvErrorText(r));
    format_.reset(raw);
    if (!kReaders.count(raw->iformat->name))
        throw std::runtime_error(path_ + ": holds " + raw->iformat->long_name +
                                 ", not AC3, DTS, MPEG audio or WAV");
    r = avformat_find_stream_info(raw, nullptr);
    if (r < 0) throw std::runtime_error(path_ + ": the audio cannot be read: " + AvErrorText(r));
    stream_ = av_find_best_stream(raw, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    if (stream_ < 0) throw std::runtime_error(unknown);
    for (unsigned i = 0; i < raw->nb_streams; ++i)
        if (int(i) != stream_) raw->streams[i]->discard = AVDISCARD_ALL;
}

void AudioSource::OpenDecoder() {
    const AVCodecParameters* par = format_->streams[stream_]->codecpar;
    const AVCodec* codec = avcodec_find_decoder(par->codec_id);
    if (!codec) {
        char tag[AV_FOURCC_MAX_STRING_SIZE] = "";
        av_fourcc_make_string(tag, par->codec_tag);
        throw std::runtime_error(path_ + ": its audio is in a coding that cannot be decoded (" +
                                 avcodec_get_name(par->codec_id) + ", tag " + tag + ")");
    }
    if (par->sample_rate < 8000 || par->sample_rate > 192000 || par->ch_layout.nb_channels < 1 ||
        par->ch_layout.nb_channels > 8)
        throw std::runtime_error(path_ + ": the header gives " +
                                 std::to_string(par->ch_layout.nb_channels) + " channels at " +
                                 std::to_string(par->sample_rate) + " Hz, which cannot be right");
    decoder_.reset(avcodec_alloc_context3(codec));
    if (!decoder_) throw std::bad_alloc();
    int r = avcodec_parameters_to_context(decoder_.get(), par);
    // Frames whose check sum fails come back marked as damaged instead of as noise.
    decoder_->err_recognition |= AV_EF_CRCCHECK;
    if (r >= 0) r = avcodec_open2(decoder_.get(), codec, nullptr);
    if (r < 0)
        throw std::runtime_error(path_ + ": the " + codec->long_name +
                                 " decoder refuses the stream: " + AvErrorText(r));
    info_.format = format_->iformat->name;
    info_.codec = codec->long_name;
    info_.channels = par->ch_layout.nb_channels;
    info_.sampleRate = par->sample_rate;
    info_.bitRate = par->bit_rate;
    char layout[64] = "";
    av_channel_layout_describe(&par->ch_layout, layout, sizeof layout);
    info_.layout = layout;
}

bool AudioSource::Feed() {
    if (ended_) return false;
    AVPacket* pkt = packet_.get();
    int r = av_read_frame(format_.get(), pkt);
    if (r == AVERROR_EOF) {
        ended_ = true;
        avcodec_send_packet(decoder_.get(), nullptr);
        return true;
    }
    if (r < 0) throw std::runtime_error(path_ + ": reading failed: " + AvErrorText(r));
    if (pkt->stream_index == stream_) {
        if (pkt->pos >= 0) {
            if (expectedPos_ >= 0 && pkt->pos > expectedPos_)
                Damaged(expectedPos_, pkt->pos - expectedPos_, "unreadable bytes");
            expectedPos_ = pkt->pos + pkt->size;
        }
        sentPos_ = pkt->pos;
        sentBytes_ = pkt->size;
        r = avcodec_send_packet(decoder_.get(), pkt);
        if (r < 0 && r != AVERROR(EAGAIN)) Damaged(pkt->pos, pkt->size, "a damaged frame");
    }
    av_packet_unref(pkt);
    return true;
}

void AudioSource::Damaged(int64_t pos, int64_t bytes, const char* what) {
    const std::string where = path_ + ": " + what + " at byte " + std::to_string(pos);
    if (frameBytes_ <= 0 || frameSamples_ <= 0) {
        warn_(where + " (" + std::to_string(bytes) + " bytes) before any good frame: skipped");
        return;
    }
    const int64_t frames = std::max<int64_t>(1, std::llround(double(bytes) / double(frameBytes_)));
    pendingSilence_ += frames * frameSamples_;
    char ms[32];
    std::snprintf(ms, sizeof ms, "%.0f",
                  1000.0 * double(frames * frameSamples_) / double(shape_->sample_rate));
    warn_(where + " (" + std::to_string(bytes) + " bytes): replaced by " + ms + " ms of silence");
}

const AVFrame* AudioSource::Silence() {
    AVFrame* s = silence_.get();
    av_frame_unref(s);
    s->format = shape_->format;
    s->sample_rate = shape_->sample_rate;
    s->nb_samples = int(std::min<int64_t>(pendingSilence_, kSilenceBlock));
    if (av_channel_layout_copy(&s->ch_layout, &shape_->ch_layout) < 0 ||
        av_frame_get_buffer(s, 0) < 0)
        throw std::bad_alloc();
    av_samples_set_silence(s->extended_data, 0, s->nb_samples, s->ch_layout.nb_channels,
                           AVSampleFormat(s->format));
    pendingSilence_ -= s->nb_samples;
    silentSamples_ += s->nb_samples;
    return s;
}

// A decoded frame: one in an unknown channel order gets the usual order for its count; one the
// decoder marked as damaged is silenced.
const AVFrame* AudioSource::Deliver() {
    AVFrame* f = frame_.get();
    if (f->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC) {
        const int n = f->ch_layout.nb_channels;
        av_channel_layout_uninit(&f->ch_layout);
        av_channel_layout_default(&f->ch_layout, n);
    }
    if (f->decode_error_flags || (f->flags & AV_FRAME_FLAG_CORRUPT)) {
        av_samples_set_silence(f->extended_data, 0, f->nb_samples, f->ch_layout.nb_channels,
                               AVSampleFormat(f->format));
        silentSamples_ += f->nb_samples;
        warn_(path_ + ": a damaged frame at byte " + std::to_string(sentPos_) +
              ": replaced by silence");
        return f;
    }
    frameBytes_ = sentBytes_;
    frameSamples_ = f->nb_samples;
    decodedSamples_ += f->nb_samples;
    av_frame_unref(shape_.get());
    shape_->format = f->format;
    shape_->sample_rate = f->sample_rate;
    if (av_channel_layout_copy(&shape_->ch_layout, &f->ch_layout) < 0) throw std::bad_alloc();
    return f;
}

const AVFrame* AudioSource::Next() {
    for (;;) {
        if (pendingSilence_ > 0) return Silence();
        const int r = avcodec_receive_frame(decoder_.get(), frame_.get());
        if (r == 0) return Deliver();
        if (r == AVERROR_EOF) return nullptr;
        if (r != AVERROR(EAGAIN)) Damaged(sentPos_, sentBytes_, "a damaged frame");
        if (!Feed()) return nullptr;
    }
}

}  // namespace audio
