// undot.dll: Undot(clip) clamps every pixel to the range of its eight neighbours, on all three
// planes, which removes single-pixel specks and leaves edges: libavfilter's removegrain in mode 1
// does exactly this (the outermost rows and columns stay as they are).
#include "common/LavfiFilter.h"

namespace {

using namespace fsrv;

class Undot final : public PassThroughClip {
  public:
    explicit Undot(ClipPtr child)
        : PassThroughClip(std::move(child)),
          filter_("Undot", "removegrain", "m0=1:m1=1:m2=1", info_) {}
    FramePtr GetFrame(int n) override { return filter_.Run(child_->GetFrame(n)); }

  private:
    filters::LavfiFilter filter_;
};

}  // namespace

FRAMESERVER_PLUGIN(host) {
    host.AddFunction("Undot", "c", [](const Args& a, Host&) {
        return Value(ClipPtr(std::make_shared<Undot>(a[0].AsClip())));
    });
}
