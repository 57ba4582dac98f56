#include "PictureDecoder.h"

#include "DecodeBuffers.h"

#include <algorithm>
#include <cstring>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/frame.h>
}

namespace decoder {
namespace {

// Copies the top left `cols` x `rows` of a plane and paints the rest of the frame's plane.
void CopyPlane(const uint8_t* from, int fromPitch, int cols, int rows, fsrv::Frame& to, int plane,
               uint8_t fill) {
    uint8_t* row = to.Data(plane);
    for (int y = 0; y < to.Height(plane); ++y, row += to.Pitch(plane)) {
        const int have = y < rows ? cols : 0;
        if (have > 0) std::memcpy(row, from + static_cast<ptrdiff_t>(y) * fromPitch, size_t(have));
        if (have < to.Width(plane)) std::memset(row + have, fill, size_t(to.Width(plane) - have));
    }
}

}  // namespace

PictureDecoder::PictureDecoder(std::shared_ptr<FramePool> pool, int width, int height)
    : pool_(std::move(pool)), width_(width), height_(height) {
    const AVCodec* codec = avcodec_find_decoder(AV_CODEC_ID_MPEG2VIDEO);
    context_ = codec ? avcodec_alloc_context3(codec) : nullptr;
    packet_ = av_packet_alloc();
    picture_ = av_frame_alloc();
    if (!context_ || !packet_ || !picture_) {
        Free();
        throw fsrv::Error("mpeg2source: libavcodec has no MPEG-2 decoder here");
    }
    // Threads as libavcodec chooses them for this machine; frame threads keep both cores busy.
    context_->thread_count = 0;
    context_->thread_type = FF_THREAD_FRAME | FF_THREAD_SLICE;
    context_->opaque = pool_.get();
    context_->get_buffer2 = &GetFrameBuffer;
#if LIBAVCODEC_VERSION_MAJOR < 60
    // The pool takes its lock, so frame threads may call it; this libavcodec still asks.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    context_->thread_safe_callbacks = 1;
#pragma GCC diagnostic pop
#endif
    if (avcodec_open2(context_, codec, nullptr) < 0) {
        Free();
        throw fsrv::Error("mpeg2source: libavcodec's MPEG-2 decoder does not open");
    }
}

PictureDecoder::~PictureDecoder() {
    Free();
}

void PictureDecoder::Free() {
    av_frame_free(&picture_);
    av_packet_free(&packet_);
    avcodec_free_context(&context_);
}

void PictureDecoder::Reset() {
    avcodec_flush_buffers(context_);
}

void PictureDecoder::Send(const std::vector<uint8_t>& piece, int tag,
                          std::vector<DecodedPicture>& out) {
    if (piece.empty() || av_new_packet(packet_, static_cast<int>(piece.size())) < 0) return;
    std::memcpy(packet_->data, piece.data(), piece.size());
    packet_->pts = tag;
    for (;;) {
        const int sent = avcodec_send_packet(context_, packet_);
        Receive(out);
        if (sent != AVERROR(EAGAIN)) break;
    }
    av_packet_unref(packet_);
}

void PictureDecoder::Drain(std::vector<DecodedPicture>& out) {
    avcodec_send_packet(context_, nullptr);
    Receive(out);
}

void PictureDecoder::Receive(std::vector<DecodedPicture>& out) {
    while (avcodec_receive_frame(context_, picture_) == 0) {
        const int64_t pts = picture_->pts;
        if (picture_->format == AV_PIX_FMT_YUV420P) {
            fsrv::FramePtr frame = ServedAsDecoded(*picture_, width_, height_);
            out.push_back({pts >= 0 && pts <= INT32_MAX ? static_cast<int>(pts) : -1,
                           frame ? std::move(frame) : Copy(*picture_)});
        }
        av_frame_unref(picture_);
    }
}

fsrv::FramePtr PictureDecoder::Copy(const AVFrame& picture) {
    std::shared_ptr<fsrv::Frame> frame = pool_->Get();
    if (picture.width != width_ || picture.height != height_) otherSize_ = true;
    const int cols = std::min(width_, picture.width), rows = std::min(height_, picture.height);
    for (int p = 0; p < 3; ++p) {
        const int shift = p == fsrv::kY ? 0 : 1;
        CopyPlane(picture.data[p], picture.linesize[p], cols >> shift, rows >> shift, *frame, p,
                  p == fsrv::kY ? 16 : 128);
    }
    return frame;
}

}  // namespace decoder
