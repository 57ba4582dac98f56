// vsfilter.dll: VobSub(clip, "file.idx") draws the subpictures of a subtitle pair into the
// frames at their times.
#include <cstdio>

#include "Overlay.h"
#include "SubtitleTrack.h"
#include "common/FilterKit.h"

namespace {

using namespace fsrv;

class VobSub final : public PassThroughClip {
  public:
    VobSub(ClipPtr child, const std::string& idxPath) : PassThroughClip(std::move(child)) {
        if (info_.fpsNumerator == 0 || info_.fpsDenominator == 0)
            throw Error("VobSub: the clip has no frame rate to time the subtitles by");
        std::vector<std::string> warnings;
        try {
            track_.emplace(idxPath, warnings);
        } catch (const std::runtime_error& e) {
            throw Error(std::string("VobSub: ") + e.what());
        }
        // The host's standard error is the place for what the job can go on without.
        for (const std::string& w : warnings)
            std::fprintf(stderr, "VobSub: warning: %s\n", w.c_str());
        const subrender::VobSubSettings& s = track_->Settings();
        canvas_ = {s.width, s.height, s.originX, s.originY};
    }
    FramePtr GetFrame(int n) override {
        n = Clamp(n);
        const FramePtr in = child_->GetFrame(n);
        const int64_t ms = int64_t(__int128(n) * 1000 * info_.fpsDenominator / info_.fpsNumerator);
        const subrender::Subpicture* sub = track_->At(ms);
        if (!sub || sub->bitmaps.empty()) return in;
        auto out = filters::NewFrame(info_);
        out->CopyFrom(*in);
        subrender::DrawSubpicture(*out, *sub, canvas_);
        return out;
    }

  private:
    std::optional<subrender::SubtitleTrack> track_;
    subrender::Canvas canvas_;
};

}  // namespace

FRAMESERVER_PLUGIN(host) {
    host.AddFunction("VobSub", "cs", [](const Args& a, Host&) {
        return Value(ClipPtr(std::make_shared<VobSub>(a[0].AsClip(), a[1].AsString())));
    });
}
