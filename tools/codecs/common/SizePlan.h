#pragma once
// How a second pass stays on its size: a plan of bytes per frame drawn from the first pass, and
// a correction of the quantizers still to come from the bytes spent so far. Whatever picks the
// quantizers (a library's rate control, or a model of size against quantizer) is off by some
// share; the correction measures that share on the frames done, and scales the quantizers of the
// frames to come so that they spend what is left.
#include <cstdint>
#include <vector>

namespace mxcodec {

class SizePlan {
  public:
    // Plans `targetBytes` in proportion to `shares` (one per frame, display order), aiming a
    // little below the target so that what the last frames cannot correct stays under it.
    SizePlan(const std::vector<double>& shares, double targetBytes);

    // The bytes the plan gives frame `frame`.
    double Planned(int64_t frame) const;
    // A frame came out with `bytes`.
    void Spent(int64_t frame, int64_t bytes);
    // The multiplier for the quantizers still to come: above 1 when the frames run larger than
    // planned, below 1 when they run smaller.
    double Correction() const;

  private:
    std::vector<double> plan_;
    double target_ = 0;
    double spent_ = 0;
    double planned_ = 0;
};

}  // namespace mxcodec
