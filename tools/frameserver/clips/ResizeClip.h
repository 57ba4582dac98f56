#pragma once
// The resizers, through libswscale with the kernel the script names.
#include "frameserver_plugin.h"

namespace fsrv {

// Lanczos with `taps` lobes (3 unless asked otherwise).
ClipPtr LanczosResizeClip(const ClipPtr& clip, int width, int height, int taps = 3);
// The cubic of the B-spline family with parameters b and c.
ClipPtr BicubicResizeClip(const ClipPtr& clip, int width, int height, double b, double c);

}  // namespace fsrv
