// autocrop.dll: autocrop(clip, mode, wmultof, hmultof, samples, aspect, threshold) measures the
// black borders over `samples` frames spread evenly over the clip and crops them away (mode 0),
// to width and height multiples of wmultof and hmultof; with aspect > 0 it crops further, centred,
// to that width/height ratio.
#include "Borders.h"
#include "common/FilterKit.h"

namespace {

using namespace fsrv;
using filters::IntArg;

class AutoCrop final : public PassThroughClip {
  public:
    AutoCrop(ClipPtr child, const autocrop::Rect& r) : PassThroughClip(std::move(child)), r_(r) {
        info_.width = r.width;
        info_.height = r.height;
    }
    FramePtr GetFrame(int n) override {
        const FramePtr in = child_->GetFrame(n);
        if (r_.width == in->Width(kY) && r_.height == in->Height(kY)) return in;
        auto out = filters::NewFrame(info_);
        filters::CopyArea(*in, r_.left, r_.top, *out);
        return out;
    }

  private:
    autocrop::Rect r_;
};

// The borders over `samples` frames, each the middle of one of as many equal stretches.
autocrop::Borders Measure(Clip& clip, int samples, int threshold) {
    const int frames = clip.Info().frameCount;
    samples = std::min(samples, frames);
    autocrop::Borders borders{0, 0, 0, 0, true};
    for (int k = 0; k < samples; ++k) {
        const int n = int((2 * int64_t(k) + 1) * frames / (2 * int64_t(samples)));
        borders =
            autocrop::Narrowest(borders, autocrop::MeasureBorders(*clip.GetFrame(n), threshold));
    }
    return borders;
}

int EvenArg(const char* name, const Value& v) {
    const int m = IntArg("autocrop", name, v, 2, 2, 256);
    if (m % 2)
        throw Error(std::string("autocrop: ") + name + " must be even, not " + std::to_string(m));
    return m;
}

Value MakeAutoCrop(const Args& a, Host&) {
    const ClipPtr clip = a[0].AsClip();
    if (a[1].AsInt(0) != 0)
        throw Error("autocrop: mode must be 0 (crop), not " + std::to_string(a[1].AsInt(0)));
    const int wmult = EvenArg("wmultof", a[2]), hmult = EvenArg("hmultof", a[3]);
    const int samples = IntArg("autocrop", "samples", a[4], 5, 1, 1000);
    const double aspect = filters::FloatArg("autocrop", "aspect", a[5], 0, 0, 100);
    const int threshold = IntArg("autocrop", "threshold", a[6], 35, 0, 255);
    const VideoInfo& info = clip->Info();
    if (info.width < wmult || info.height < hmult || info.frameCount < 1)
        throw Error("autocrop: the clip (" + std::to_string(info.width) + "x" +
                    std::to_string(info.height) + ") is too small to crop to multiples of " +
                    std::to_string(wmult) + "x" + std::to_string(hmult));
    const autocrop::Rect picture = autocrop::PictureRect(Measure(*clip, samples, threshold),
                                                         info.width, info.height, wmult, hmult);
    const autocrop::Rect r = autocrop::ShapeRect(picture, aspect, wmult, hmult);
    if (r.width < wmult || r.height < hmult)
        throw Error("autocrop: no picture is left inside the borders (" +
                    std::to_string(picture.width) + "x" + std::to_string(picture.height) +
                    " before the shape)");
    return Value(ClipPtr(std::make_shared<AutoCrop>(clip, r)));
}

}  // namespace

FRAMESERVER_PLUGIN(host) {
    host.AddFunction("autocrop", "c[mode]i[wmultof]i[hmultof]i[samples]i[aspect]f[threshold]i",
                     &MakeAutoCrop);
}
