#include "clips/ResizeClip.h"

#include <string>

extern "C" {
#include <libswscale/swscale.h>
}

namespace fsrv {
namespace {

class Resized final : public PassThroughClip {
  public:
    Resized(const char* name, ClipPtr child, int width, int height, int flags, double p0, double p1)
        : PassThroughClip(std::move(child)) {
        if (width <= 0 || height <= 0 || width % 2 || height % 2 || width > 16384 || height > 16384)
            throw Error(std::string(name) + ": " + std::to_string(width) + "x" +
                        std::to_string(height) +
                        " is no 4:2:0 size (even widths and heights up to 16384)");
        const double params[2] = {p0, p1};
        sws_ = sws_getContext(info_.width, info_.height, AV_PIX_FMT_YUV420P, width, height,
                              AV_PIX_FMT_YUV420P, flags, nullptr, nullptr, params);
        if (!sws_) throw Error(std::string(name) + ": the scaler cannot be set up");
        info_.width = width;
        info_.height = height;
    }
    ~Resized() override { sws_freeContext(sws_); }

    FramePtr GetFrame(int n) override {
        const FramePtr in = child_->GetFrame(n);
        auto out = std::make_shared<Frame>(info_.width, info_.height);
        const uint8_t* src[4] = {in->Data(kY), in->Data(kU), in->Data(kV), nullptr};
        const int srcPitch[4] = {in->Pitch(kY), in->Pitch(kU), in->Pitch(kV), 0};
        uint8_t* dst[4] = {out->Data(kY), out->Data(kU), out->Data(kV), nullptr};
        const int dstPitch[4] = {out->Pitch(kY), out->Pitch(kU), out->Pitch(kV), 0};
        sws_scale(sws_, src, srcPitch, 0, in->Height(kY), dst, dstPitch);
        return out;
    }

  private:
    SwsContext* sws_ = nullptr;
};

}  // namespace

ClipPtr LanczosResizeClip(const ClipPtr& clip, int width, int height, int taps) {
    if (taps < 1 || taps > 10) throw Error("LanczosResize: taps must be 1 to 10");
    return std::make_shared<Resized>("LanczosResize", clip, width, height, SWS_LANCZOS, taps,
                                     SWS_PARAM_DEFAULT);
}

ClipPtr BicubicResizeClip(const ClipPtr& clip, int width, int height, double b, double c) {
    return std::make_shared<Resized>("BicubicResize", clip, width, height, SWS_BICUBIC, b, c);
}

}  // namespace fsrv
