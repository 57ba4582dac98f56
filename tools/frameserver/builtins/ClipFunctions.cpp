// Editing and resizing: thin bindings of the script's arguments to the clips that do the work.
#include <cmath>

#include "builtins/Builtins.h"
#include "clips/EditClips.h"
#include "clips/ResizeClip.h"
#include "language/Interpreter.h"

namespace fsrv::script {

void RegisterClipFunctions(Interpreter& in) {
    in.AddFunction("Trim", "cii", [](const Args& a, Host&) {
        return Value(TrimClip(a[0].AsClip(), a[1].AsInt(), a[2].AsInt()));
    });
    in.AddFunction("SelectRangeEvery", "c[every]i[length]i[offset]i[audio]b",
                   [](const Args& a, Host&) {
                       return Value(SelectRangeEveryClip(a[0].AsClip(), a[1].AsInt(1500),
                                                         a[2].AsInt(50), a[3].AsInt(0)));
                   });
    in.AddFunction("crop", "ciiii[align]b", [](const Args& a, Host&) {
        return Value(
            CropClip(a[0].AsClip(), a[1].AsInt(), a[2].AsInt(), a[3].AsInt(), a[4].AsInt()));
    });
    in.AddFunction("LanczosResize", "cii[taps]i", [](const Args& a, Host&) {
        return Value(LanczosResizeClip(a[0].AsClip(), a[1].AsInt(), a[2].AsInt(), a[3].AsInt(3)));
    });
    in.AddFunction("BicubicResize", "cii[b]f[c]f", [](const Args& a, Host&) {
        const double b = a[3].AsFloat(1.0 / 3), c = a[4].AsFloat(1.0 / 3);
        if (!std::isfinite(b) || !std::isfinite(c) || std::fabs(b) > 10 || std::fabs(c) > 10)
            throw Error("BicubicResize: b and c must lie between -10 and 10");
        return Value(BicubicResizeClip(a[0].AsClip(), a[1].AsInt(), a[2].AsInt(), b, c));
    });
}

}  // namespace fsrv::script
