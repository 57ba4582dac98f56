#include "xvid/XvidSizeGuard.h"

#include <xvid.h>

#include <algorithm>

namespace mxcodec {

namespace {

std::vector<double> Shares(const std::vector<XvidStatFrame>& frames,
                           const std::vector<XvidZone>& zones) {
    std::vector<double> shares;
    shares.reserve(frames.size());
    double weight = 1.0;
    size_t zone = 0;
    for (size_t i = 0; i < frames.size(); ++i) {
        for (; zone < zones.size() && size_t(zones[zone].frame) <= i; ++zone) {
            weight = zones[zone].mode == 0 ? zones[zone].weight / 100.0 : 1.0;
        }
        shares.push_back(weight * frames[i].length);
    }
    return shares;
}

}  // namespace

XvidSizeGuard::XvidSizeGuard(const std::vector<XvidStatFrame>& frames,
                             const std::vector<XvidZone>& zones, int64_t targetBytes)
    : plan_(Shares(frames, zones), double(targetBytes)) {}

int XvidSizeGuard::Before(void* param) {
    auto& data = *static_cast<xvid_plg_data_t*>(param);
    if (data.quant <= 0 || plan_.Planned(data.frame_num) <= 0) return 0;
    const int type = std::clamp(data.type == XVID_TYPE_SVOP ? 2 : data.type, 1, 3) - 1;
    const double correction = plan_.Correction();
    const int quant = spread_[type].Next(data.quant * correction);
    // The limits hold while the pass keeps to its plan. Once it runs over, the size wins: a
    // target that the largest quantizer allowed cannot reach is met with coarser frames rather
    // than missed.
    const int highest = correction > 1.0 ? 31 : data.max_quant[type];
    data.quant = std::clamp(quant, data.min_quant[type], std::max(highest, data.min_quant[type]));
    return 0;
}

int XvidSizeGuard::Plugin(void* handle, int opt, void* param1, void* param2) {
    switch (opt) {
        case XVID_PLG_CREATE:
            *static_cast<void**>(param2) = static_cast<xvid_plg_create_t*>(param1)->param;
            return 0;
        case XVID_PLG_BEFORE:
            return static_cast<XvidSizeGuard*>(handle)->Before(param1);
        case XVID_PLG_AFTER: {
            const auto* data = static_cast<const xvid_plg_data_t*>(param1);
            static_cast<XvidSizeGuard*>(handle)->plan_.Spent(data->frame_num, data->length);
            return 0;
        }
        default:
            return 0;
    }
}

}  // namespace mxcodec
