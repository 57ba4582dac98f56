#pragma once
// Keeps an XviD second pass on its size. libxvidcore's two-pass rate control picks each frame's
// quantizer from the first pass's curve, but its model of size against quantizer is coarse and
// its correction per frame is capped by the overflow values, so on its own it ends several
// percent away from the target, further for tight ones. The guard runs after it, as a plugin of
// the same encoder, and scales the quantizers it picks by the plan's correction (common/SizePlan).
// The quantizer limits bound it until the pass runs over its plan; then the size comes first.
#include <cstdint>
#include <vector>

#include "common/Pictures.h"
#include "common/SizePlan.h"
#include "xvid/XvidConfig.h"
#include "xvid/XvidStats.h"

namespace mxcodec {

class XvidSizeGuard {
  public:
    // The plan follows the first pass's frame sizes, weighted by the zones as the curve is.
    XvidSizeGuard(const std::vector<XvidStatFrame>& frames, const std::vector<XvidZone>& zones,
                  int64_t targetBytes);

    // The plugin entry for xvid_enc_plugin_t; its parameter is the guard.
    static int Plugin(void* handle, int opt, void* param1, void* param2);

  private:
    int Before(void* data);

    SizePlan plan_;
    QuantizerSpreader spread_[3];  // per frame type: I, P, B
};

}  // namespace mxcodec
