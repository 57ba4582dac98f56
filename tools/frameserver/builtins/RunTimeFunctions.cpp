// FrameEvaluate and the functions that measure the frame it serves.
#include <cstdlib>

#include "builtins/Builtins.h"
#include "language/Interpreter.h"

namespace fsrv::script {
namespace {

// Runs its statements for every frame it serves, before (or, with after_frame, after) fetching
// that frame from its input, so that the FrameEvaluate written last in a script runs first.
class FrameEvaluated final : public PassThroughClip {
  public:
    FrameEvaluated(ClipPtr child, Interpreter& in, std::shared_ptr<const Program> program, int line,
                   bool after)
        : PassThroughClip(std::move(child)),
          in_(in),
          program_(std::move(program)),
          line_(line),
          after_(after) {}
    FramePtr GetFrame(int n) override {
        n = Clamp(n);
        if (!after_) in_.RunAtFrame(*program_, line_, child_, n);
        FramePtr frame = child_->GetFrame(n);
        if (after_) in_.RunAtFrame(*program_, line_, child_, n);
        return frame;
    }

  private:
    Interpreter& in_;
    std::shared_ptr<const Program> program_;
    int line_;
    bool after_;
};

// Mean absolute difference of one plane between the frame being served and the one before;
// 0 for the first frame.
double DifferenceFromPrevious(const char* name, const ClipPtr& clip, int plane, Host& host) {
    const int n = host.CurrentFrame();
    if (n < 0) throw Error(std::string(name) + ": works only inside FrameEvaluate");
    if (n == 0) return 0;
    const FramePtr now = clip->GetFrame(n);
    const FramePtr before = clip->GetFrame(n - 1);
    const int w = now->Width(plane), h = now->Height(plane);
    uint64_t sum = 0;
    for (int y = 0; y < h; ++y) {
        const uint8_t* a = now->Data(plane) + size_t(y) * now->Pitch(plane);
        const uint8_t* b = before->Data(plane) + size_t(y) * before->Pitch(plane);
        uint32_t row = 0;
        for (int x = 0; x < w; ++x) row += uint32_t(std::abs(int(a[x]) - int(b[x])));
        sum += row;
    }
    return double(sum) / (double(w) * double(h));
}

void Difference(Interpreter& in, const char* name, int plane) {
    in.AddFunction(name, "c", [name, plane](const Args& a, Host& host) {
        return Value(DifferenceFromPrevious(name, a[0].AsClip(), plane, host));
    });
}

}  // namespace

void RegisterRunTimeFunctions(Interpreter& in) {
    in.AddFunction("FrameEvaluate", "cs[after_frame]b", [&in](const Args& a, Host&) {
        auto program = in.ParseRunTime(a[1].AsString(), in.CallLine());
        return Value(std::make_shared<FrameEvaluated>(a[0].AsClip(), in, std::move(program),
                                                      in.CallLine(), a[2].AsBool(false)));
    });
    Difference(in, "YDifferenceFromPrevious", kY);
    Difference(in, "UDifferenceFromPrevious", kU);
    Difference(in, "VDifferenceFromPrevious", kV);
}

}  // namespace fsrv::script
