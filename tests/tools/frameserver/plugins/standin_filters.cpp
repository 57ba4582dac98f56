// Stand-ins for the filter plugins that are not built yet: every function the planner's scripts
// call, with the parameters they pass, doing the least that lets a script run. Installed in a
// test's filters/ folder under each plugin's file name.
#include <fstream>

#include "frameserver_plugin.h"

namespace {

using namespace fsrv;

// Drops the last frame of every `cycle`, as a decimation does.
class DropOne final : public PassThroughClip {
  public:
    DropOne(ClipPtr child, int cycle) : PassThroughClip(std::move(child)), cycle_(cycle) {
        if (cycle < 2) throw Error("Decimate: cycle must be 2 or more");
        info_.frameCount = info_.frameCount / cycle * (cycle - 1) + info_.frameCount % cycle;
    }
    FramePtr GetFrame(int n) override { return child_->GetFrame(Map(n)); }
    bool GetParity(int n) override { return child_->GetParity(Map(n)); }

  private:
    int Map(int n) const { return Clamp(n) / (cycle_ - 1) * cycle_ + Clamp(n) % (cycle_ - 1); }
    int cycle_;
};

// Cuts to multiples of the given sizes, keeping the top left corner.
class CropToMultiples final : public PassThroughClip {
  public:
    CropToMultiples(ClipPtr child, int wmult, int hmult) : PassThroughClip(std::move(child)) {
        info_.width -= info_.width % wmult;
        info_.height -= info_.height % hmult;
    }
    FramePtr GetFrame(int n) override {
        const FramePtr in = child_->GetFrame(n);
        auto out = std::make_shared<Frame>(info_.width, info_.height);
        for (int p = 0; p < 3; ++p)
            for (int y = 0; y < out->Height(p); ++y)
                std::copy_n(in->Data(p) + size_t(y) * in->Pitch(p), out->Width(p),
                            out->Data(p) + size_t(y) * out->Pitch(p));
        return out;
    }
};

Value Same(const Args& a, Host&) {
    return a[0];
}

}  // namespace

FRAMESERVER_PLUGIN(host) {
    host.AddFunction("Telecide", "c[order]i[guide]i[back]i[post]i", &Same);
    host.AddFunction("Decimate", "c[cycle]i[mode]i[threshold]f[debug]b", [](const Args& a, Host&) {
        return Value(ClipPtr(std::make_shared<DropOne>(a[0].AsClip(), a[1].AsInt(5))));
    });
    host.AddFunction("KernelDeInt", "c[order]i[sharp]b[threshold]i", &Same);
    host.AddFunction("Undot", "c", &Same);
    host.AddFunction("VobSub", "cs", &Same);
    host.AddFunction("autocrop", "c[mode]i[wmultof]i[hmultof]i[samples]i[aspect]f[threshold]i",
                     [](const Args& a, Host&) {
                         if (a[2].AsInt(1) < 2 || a[3].AsInt(1) < 2)
                             throw Error("autocrop: wmultof and hmultof must be even");
                         return Value(ClipPtr(std::make_shared<CropToMultiples>(
                             a[0].AsClip(), a[2].AsInt(2), a[3].AsInt(2))));
                     });
    // Every fifth frame counts as combed, so that a log shows which frame each line is of.
    host.AddFunction("IsCombed", "c[threshold]i", [](const Args&, Host& h) {
        if (h.CurrentFrame() < 0) throw Error("IsCombed: works only inside FrameEvaluate");
        return Value(h.CurrentFrame() % 5 == 4);
    });
    host.AddFunction("write", "ss[append]b", [](const Args& a, Host&) {
        std::ofstream out(a[0].AsString(), a[2].AsBool(false) ? std::ios::app : std::ios::trunc);
        out << a[1].AsString() << "\n";
        if (!out) throw Error("write: " + a[0].AsString() + " cannot be written");
        return Value();
    });
}
