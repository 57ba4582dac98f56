#include "divx/DivxSession.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/dict.h>
#include <libavutil/error.h>
#include <libavutil/mem.h>
}

#include <algorithm>
#include <cstring>
#include <numeric>
#include <thread>

#include "common/CodecError.h"
#include "common/PassFiles.h"

namespace mxcodec {

namespace {

constexpr char kLogWhat[] = "log file";

std::string LibraryError(int code) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof(text));
    return text;
}

// "Quality" 0..5: how hard the encoder works at each macroblock's coding mode.
int MacroblockDecision(int effort) {
    if (effort >= 4) return FF_MB_DECISION_RD;
    if (effort >= 2) return FF_MB_DECISION_BITS;
    return FF_MB_DECISION_SIMPLE;
}

// Bytes a second pass of `frames` may spend at `bitrate` bits a second.
double TargetBytes(const MxVideoFormat& format, int64_t frames, int32_t bitrate) {
    return double(bitrate) / 8.0 * double(frames) * format.rateDen / format.rateNum;
}

}  // namespace

DivxSession::DivxSession(const DivxConfig& config, const MxVideoFormat& format)
    : config_(config), format_(format) {
    if (config_.mode == kDivxFirstPass) {
        firstPass_ = std::make_unique<FirstPassFile>(config_.logFile, kLogWhat);
        firstPass_->Append(DivxLogHeader());
    } else if (config_.mode == kDivxSecondPass) {
        const FirstPassData data = ReadFirstPassFile(config_.logFile, kLogWhat, format_);
        std::vector<DivxPassFrame> frames = ParseDivxLog(data.body, config_.logFile);
        logFrames_ = PassFrames(kLogWhat, config_.logFile, int64_t(frames.size()), data.frames);
        const double target = TargetBytes(format_, logFrames_.Count(), config_.bitrate);
        secondPass_ = std::make_unique<DivxSecondPass>(std::move(frames), target);
    }
    try {
        frame_ = av_frame_alloc();
        if (!frame_) throw std::bad_alloc();
        Open();
    } catch (...) {
        Release();
        throw;
    }
}

DivxSession::~DivxSession() {
    Release();
}

void DivxSession::Release() noexcept {
    for (AVPacket* packet : ready_) av_packet_free(&packet);
    ready_.clear();
    av_frame_free(&frame_);
    avcodec_free_context(&context_);
}

void DivxSession::Open() {
    const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_MPEG4);
    if (!codec) throw CodecError(MXICERR_INTERNAL, "libavcodec has no MPEG-4 encoder");
    context_ = avcodec_alloc_context3(codec);
    if (!context_) throw std::bad_alloc();
    const int common = int(std::gcd(format_.rateNum, format_.rateDen));
    context_->width = format_.width;
    context_->height = format_.height;
    context_->time_base = AVRational{int(format_.rateDen) / common, int(format_.rateNum) / common};
    context_->framerate = AVRational{int(format_.rateNum) / common, int(format_.rateDen) / common};
    context_->pix_fmt = AV_PIX_FMT_YUV420P;
    context_->codec_tag = MKTAG('D', 'X', '5', '0');
    context_->gop_size = config_.maxKeyInterval;
    context_->max_b_frames = config_.bidirectional ? 1 : 0;
    // The first pass only measures how the frames compare, so it takes the quick decisions.
    context_->mb_decision =
        config_.mode == kDivxFirstPass ? FF_MB_DECISION_SIMPLE : MacroblockDecision(config_.effort);
    if (config_.quarterPel) context_->flags |= AV_CODEC_FLAG_QPEL;
    if (config_.interlaced)
        context_->flags |= AV_CODEC_FLAG_INTERLACED_DCT | AV_CODEC_FLAG_INTERLACED_ME;
    // libavcodec codes one slice per thread, and a slice needs a row of macroblocks.
    const int rows = (format_.height + 15) / 16;
    context_->thread_count =
        std::clamp(int(std::thread::hardware_concurrency()), 1, std::min(rows, 8));
    context_->thread_type = FF_THREAD_SLICE;
    // Every mode codes at quantizers chosen here, frame by frame (DivxPasses.h).
    context_->flags |= AV_CODEC_FLAG_QSCALE;
    context_->global_quality = FF_QP2LAMBDA * kDivxFirstPassQuant;  // each frame sets its own
    AVDictionary* options = nullptr;
    // The second pass keeps the first pass's key frames and adds none of its own.
    if (secondPass_) av_dict_set(&options, "sc_threshold", "1000000000", 0);
    const int result = avcodec_open2(context_, codec, &options);
    av_dict_free(&options);
    if (result < 0) {
        throw CodecError(MXICERR_INTERNAL, "libavcodec cannot set up its MPEG-4 encoder for " +
                                               std::to_string(format_.width) + "x" +
                                               std::to_string(format_.height) + ": " +
                                               LibraryError(result));
    }
}

void DivxSession::Send(AVFrame* frame) {
    const int result = avcodec_send_frame(context_, frame);
    if (result < 0) {
        throw CodecError(MXICERR_INTERNAL, "libavcodec failed on frame " +
                                               std::to_string(framesIn_) + ": " +
                                               LibraryError(result));
    }
    Collect();
}

void DivxSession::Collect() {
    for (;;) {
        AVPacket* packet = av_packet_alloc();
        if (!packet) throw std::bad_alloc();
        const int result = avcodec_receive_packet(context_, packet);
        if (result < 0) {
            av_packet_free(&packet);
            if (result == AVERROR(EAGAIN) || result == AVERROR_EOF) return;
            throw CodecError(MXICERR_INTERNAL,
                             "libavcodec failed to return a frame: " + LibraryError(result));
        }
        ready_.push_back(packet);
        const char type = FirstPictureType(packet->data, size_t(packet->size));
        if (firstPass_) firstPass_->Append(DivxLogLine(packet->pts, type, packet->size));
        if (secondPass_) secondPass_->Spent(packet->pts, packet->size);
    }
}

int DivxSession::QuantizerFor(int64_t frame) {
    switch (config_.mode) {
        case kDivxFirstPass:
            return kDivxFirstPassQuant;
        case kDivxSecondPass:
            return secondPass_->QuantizerFor(frame);
        default:
            return spreader_.Next(config_.quality / 10.0);
    }
}

bool DivxSession::Hand(MxCompressFrame& out) {
    if (ready_.empty()) return false;
    AVPacket* packet = ready_.front();
    if (packet->size < 0 || uint32_t(packet->size) > out.outputCapacity) {
        throw CodecError(MXICERR_INTERNAL, "libavcodec returned a frame of " +
                                               std::to_string(packet->size) +
                                               " bytes, more than the output buffer holds");
    }
    std::memcpy(out.output, packet->data, size_t(packet->size));
    out.outputBytes = uint32_t(packet->size);
    if (packet->flags & AV_PKT_FLAG_KEY) out.flags |= MXFRAME_KEY;
    out.frameType = FirstPictureType(packet->data, size_t(packet->size));
    ready_.pop_front();
    av_packet_free(&packet);
    return true;
}

uint32_t DivxSession::StreamCode() const {
    return MxFourCC('D', 'X', '5', '0');
}

void DivxSession::Encode(MxCompressFrame& in) {
    if (secondPass_) logFrames_.CheckNext(framesIn_);
    av_frame_unref(frame_);
    frame_->format = AV_PIX_FMT_YUV420P;
    frame_->width = format_.width;
    frame_->height = format_.height;
    for (int i = 0; i < 3; ++i) {
        frame_->data[i] = const_cast<uint8_t*>(in.planes[i]);
        frame_->linesize[i] = in.strides[i];
    }
    frame_->pts = framesIn_;
    frame_->quality = FF_QP2LAMBDA * QuantizerFor(framesIn_);
    frame_->pict_type =
        secondPass_ && secondPass_->KeyFrame(framesIn_) ? AV_PICTURE_TYPE_I : AV_PICTURE_TYPE_NONE;
    // The frame is not reference-counted, so the encoder copies what it keeps.
    Send(frame_);
    for (int i = 0; i < 3; ++i) frame_->data[i] = nullptr;
    ++framesIn_;
    Hand(in);
}

bool DivxSession::Drain(MxCompressFrame& out) {
    if (!flushed_) {
        Send(nullptr);
        flushed_ = true;
    }
    return Hand(out);
}

void DivxSession::Finish() {
    if (config_.mode == kDivxFirstPass) {
        firstPass_->Commit(format_, framesIn_);
    } else if (secondPass_) {
        logFrames_.CheckEnd(framesIn_);
    }
}

}  // namespace mxcodec
