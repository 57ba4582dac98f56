#include "FramePicture.h"

extern "C" {
#include <libswscale/swscale.h>
}

namespace player {

FramePicture::~FramePicture() {
    sws_freeContext(context_);
}

QImage FramePicture::Convert(const FsFrame& frame) {
    const int width = frame.width[0], height = frame.height[0];
    // The picture keeps its size, so the converter only changes the colour model; a context
    // made for an earlier frame of the same size is reused.
    context_ = sws_getCachedContext(context_, width, height, AV_PIX_FMT_YUV420P, width, height,
                                    AV_PIX_FMT_RGB32, SWS_BICUBIC, nullptr, nullptr, nullptr);
    QImage image(width, height, QImage::Format_RGB32);
    if (!context_ || image.isNull()) return {};
    // libswscale reads four plane pointers and pitches; the frame server's frame has three.
    const uint8_t* source[4] = {frame.data[0], frame.data[1], frame.data[2], nullptr};
    const int sourcePitch[4] = {frame.pitch[0], frame.pitch[1], frame.pitch[2], 0};
    uint8_t* target[4] = {image.bits(), nullptr, nullptr, nullptr};
    const int targetPitch[4] = {int(image.bytesPerLine()), 0, 0, 0};
    sws_scale(context_, source, sourcePitch, 0, height, target, targetPitch);
    return image;
}

}  // namespace player
