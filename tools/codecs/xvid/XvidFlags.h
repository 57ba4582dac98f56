#pragma once
// How the configuration's search and quality values become the library's per-frame flags.
#include "xvid/XvidConfig.h"

namespace mxcodec {

struct XvidFrameFlags {
    int vol = 0;     // XVID_VOL_*
    int vop = 0;     // XVID_VOP_*
    int motion = 0;  // XVID_ME_*
};

// The flags every frame of a run starts from; zones add greyscale and chroma optimisation.
XvidFrameFlags XvidFlagsFor(const XvidConfig& config);

}  // namespace mxcodec
