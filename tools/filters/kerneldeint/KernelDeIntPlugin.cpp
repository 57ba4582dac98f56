// kerneldeint.dll: KernelDeInt(clip, order, sharp, threshold, twoway) is libavfilter's kerndeint:
// it keeps one field and, where the picture moved since the frame before (by more than
// `threshold`), rebuilds the other from it with a vertical kernel; static areas stay untouched.
// `order` 1 keeps the top field (top field first), 0 the bottom one.
#include "common/FilterKit.h"
#include "common/LavfiFilter.h"

namespace {

using namespace fsrv;

// The library filter compares each frame with the one it got before, so a frame is always
// preceded by its own predecessor, whatever order the frames are asked in.
class KernelDeInt final : public PassThroughClip {
  public:
    KernelDeInt(ClipPtr child, const std::string& options)
        : PassThroughClip(std::move(child)), filter_("KernelDeInt", "kerndeint", options, info_) {}
    FramePtr GetFrame(int n) override {
        n = Clamp(n);
        if (n == 0 || last_ != n - 1) {
            filter_.Reset();
            if (n > 0) filter_.Run(child_->GetFrame(n - 1));
        }
        last_ = n;
        return filter_.Run(child_->GetFrame(n));
    }

  private:
    filters::LavfiFilter filter_;
    int last_ = -1;
};

Value MakeKernelDeInt(const Args& a, Host&) {
    const ClipPtr clip = a[0].AsClip();
    const int order = filters::IntArg("KernelDeInt", "order", a[1], clip->GetParity(0), 0, 1);
    const int threshold = filters::IntArg("KernelDeInt", "threshold", a[3], 10, 0, 255);
    if (clip->Info().width < 4 || clip->Info().height < 4)
        throw Error("KernelDeInt: the clip is too small to deinterlace");
    const std::string options = "thresh=" + std::to_string(threshold) +
                                ":order=" + std::to_string(order) +
                                ":sharp=" + (a[2].AsBool(false) ? "1" : "0") +
                                ":twoway=" + (a[4].AsBool(false) ? "1" : "0");
    return Value(ClipPtr(std::make_shared<KernelDeInt>(clip, options)));
}

}  // namespace

FRAMESERVER_PLUGIN(host) {
    host.AddFunction("KernelDeInt", "c[order]i[sharp]b[threshold]i[twoway]b", &MakeKernelDeInt);
}
