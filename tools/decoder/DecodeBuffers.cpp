#include "DecodeBuffers.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/frame.h>
}

namespace decoder {
namespace {

struct BufferHolder {
    std::shared_ptr<fsrv::Frame> frame;
};

void FreeHolder(void* holder, uint8_t*) {
    delete static_cast<BufferHolder*>(holder);
}

bool PitchesFit(const fsrv::Frame& f, int width, const int* align) {
    for (int p = 0; p < 3; ++p) {
        const int needed = p == fsrv::kY ? width : (width + 1) / 2;
        if (f.Pitch(p) < needed || (align[p] > 0 && f.Pitch(p) % align[p] != 0)) return false;
    }
    return true;
}

}  // namespace

int GetFrameBuffer(AVCodecContext* context, AVFrame* frame, int flags) {
    if (frame->format != AV_PIX_FMT_YUV420P)
        return avcodec_default_get_buffer2(context, frame, flags);
    FramePool& pool = *static_cast<FramePool*>(context->opaque);
    int width = frame->width, height = frame->height;
    int align[AV_NUM_DATA_POINTERS] = {};
    avcodec_align_dimensions2(context, &width, &height, align);
    try {
        auto holder = std::make_unique<BufferHolder>();
        const bool indexSize = frame->width == pool.Width() && frame->height == pool.Height() &&
                               width <= pool.Width() + 64 && height <= pool.Height();
        holder->frame = indexSize
                            ? pool.Get()
                            : std::make_shared<fsrv::Frame>((width + 1) & ~1, (height + 1) & ~1);
        fsrv::Frame& f = *holder->frame;
        if (!PitchesFit(f, width, align)) return AVERROR(EINVAL);
        const size_t bytes = size_t(f.Data(fsrv::kV) - f.Data(fsrv::kY)) +
                             size_t(f.Pitch(fsrv::kV)) * size_t(f.Height(fsrv::kV));
        frame->buf[0] = av_buffer_create(f.Data(fsrv::kY), bytes, &FreeHolder, holder.get(), 0);
        if (!frame->buf[0]) return AVERROR(ENOMEM);
        holder.release();
        for (int p = 0; p < 3; ++p) {
            frame->data[p] = f.Data(p);
            frame->linesize[p] = f.Pitch(p);
        }
        frame->extended_data = frame->data;
        return 0;
    } catch (const std::exception&) {
        return AVERROR(ENOMEM);
    }
}

fsrv::FramePtr ServedAsDecoded(const AVFrame& picture, int width, int height) {
    if (picture.width != width || picture.height != height || !picture.buf[0]) return nullptr;
    const auto* holder = static_cast<const BufferHolder*>(av_buffer_get_opaque(picture.buf[0]));
    const fsrv::Frame& f = *holder->frame;
    if (f.Width(fsrv::kY) != width || f.Height(fsrv::kY) != height ||
        f.Data(fsrv::kY) != picture.data[0])
        return nullptr;
    AVFrame* reference = av_frame_clone(&picture);
    if (!reference) return nullptr;
    std::shared_ptr<AVFrame> owner(reference, [](AVFrame* r) { av_frame_free(&r); });
    return fsrv::FramePtr(owner, holder->frame.get());
}

}  // namespace decoder
