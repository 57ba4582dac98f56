// decomb.dll: field matching (Telecide), decimation (Decimate) and the comb test of the analysis
// (IsCombed, a run-time function for FrameEvaluate).
#include "Combing.h"
#include "Decimate.h"
#include "Telecide.h"
#include "common/FilterKit.h"

namespace {

using namespace fsrv;
using filters::IntArg;

Value MakeTelecide(const Args& a, Host&) {
    const ClipPtr clip = a[0].AsClip();
    ivtc::TelecideOptions o;
    o.order = IntArg("Telecide", "order", a[1], clip->GetParity(0) ? 1 : 0, 0, 1);
    o.guide = IntArg("Telecide", "guide", a[2], 0, 0, 1);
    o.back = IntArg("Telecide", "back", a[3], 0, 0, 2);
    o.post = IntArg("Telecide", "post", a[4], 2, 0, 2);
    o.threshold = IntArg("Telecide", "threshold", a[5], 30, 0, 255);
    return Value(ClipPtr(std::make_shared<ivtc::Telecide>(clip, o)));
}

Value MakeDecimate(const Args& a, Host& host) {
    ivtc::DecimateOptions o;
    o.cycle = IntArg("Decimate", "cycle", a[1], 5, 2, 25);
    o.mode = IntArg("Decimate", "mode", a[2], 0, 0, 3);
    if (o.mode == 2) throw Error("Decimate: mode must be 0, 1 or 3, not 2");
    o.threshold = filters::FloatArg("Decimate", "threshold", a[3], 0, 0, 255);
    o.debug = a[4].AsBool(false);
    return Value(ClipPtr(std::make_shared<ivtc::Decimate>(a[0].AsClip(), o, host)));
}

Value IsCombed(const Args& a, Host& host) {
    const int threshold = IntArg("IsCombed", "threshold", a[1], 30, 0, 255);
    if (host.CurrentFrame() < 0) throw Error("IsCombed: works only inside FrameEvaluate");
    return Value(ivtc::IsCombedFrame(*a[0].AsClip()->GetFrame(host.CurrentFrame()), threshold));
}

}  // namespace

FRAMESERVER_PLUGIN(host) {
    host.AddFunction("Telecide", "c[order]i[guide]i[back]i[post]i[threshold]i", &MakeTelecide);
    host.AddFunction("Decimate", "c[cycle]i[mode]i[threshold]f[debug]b", &MakeDecimate);
    host.AddFunction("IsCombed", "c[threshold]i", &IsCombed);
}
