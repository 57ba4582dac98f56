#include "Metric.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "common/FilterKit.h"

namespace ivtc {

using filters::Row;

double FrameDifference(const fsrv::Frame& a, const fsrv::Frame& b) {
    const int w = a.Width(fsrv::kY), h = a.Height(fsrv::kY);
    const int blocksX = (w + kMetricBlock - 1) / kMetricBlock;
    std::vector<uint32_t> sums(size_t(blocksX), 0);
    double worst = 0;
    for (int y = 0; y < h; ++y) {
        const uint8_t* ra = Row(a, fsrv::kY, y);
        const uint8_t* rb = Row(b, fsrv::kY, y);
        for (int bx = 0; bx < blocksX; ++bx) {
            const int x0 = bx * kMetricBlock, x1 = std::min(w, x0 + kMetricBlock);
            uint32_t s = 0;
            for (int x = x0; x < x1; ++x)
                s += uint32_t(std::max(0, std::abs(int(ra[x]) - int(rb[x])) - kNoiseLevels));
            sums[size_t(bx)] += s;
        }
        if ((y + 1) % kMetricBlock == 0 || y + 1 == h) {
            const int rows = y % kMetricBlock + 1;
            for (int bx = 0; bx < blocksX; ++bx) {
                const int cols = std::min(w, (bx + 1) * kMetricBlock) - bx * kMetricBlock;
                worst = std::max(worst, double(sums[size_t(bx)]) / (double(rows) * cols));
                sums[size_t(bx)] = 0;
            }
        }
    }
    return worst;
}

}  // namespace ivtc
