#include "common/SizePlan.h"

#include <algorithm>

namespace mxcodec {

namespace {

constexpr double kAim = 0.995;
// Until a few percent of the plan is spent the measured bias is noise.
constexpr double kWarmUp = 0.02;
// Bounds of one correction: enough to pull a curve that is off by half, never a jump past that.
constexpr double kMinCorrection = 0.4;
constexpr double kMaxCorrection = 3.0;

}  // namespace

SizePlan::SizePlan(const std::vector<double>& shares, double targetBytes)
    : plan_(shares), target_(targetBytes * kAim) {
    double total = 0;
    for (double share : plan_) total += share;
    if (total <= 0) total = 1;
    for (double& bytes : plan_) bytes *= target_ / total;
}

double SizePlan::Planned(int64_t frame) const {
    return frame >= 0 && size_t(frame) < plan_.size() ? plan_[size_t(frame)] : 0.0;
}

void SizePlan::Spent(int64_t frame, int64_t bytes) {
    if (frame < 0 || size_t(frame) >= plan_.size()) return;
    spent_ += double(bytes);
    planned_ += plan_[size_t(frame)];
}

double SizePlan::Correction() const {
    if (planned_ < kWarmUp * target_) return 1.0;
    // How much larger than planned the frames came out, and how much the frames to come must
    // shrink (or may grow) to spend exactly what is left.
    const double bias = spent_ / planned_;
    const double left = target_ - spent_;
    const double leftPlanned = std::max(target_ - planned_, 1.0);
    if (left <= 0) return kMaxCorrection;
    return std::clamp(bias * leftPlanned / left, kMinCorrection, kMaxCorrection);
}

}  // namespace mxcodec
