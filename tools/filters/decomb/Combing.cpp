#include "Combing.h"

#include <algorithm>

#include "common/FilterKit.h"

namespace decomb {
namespace {

using filters::Row;

void SignedCombRow(const fsrv::Frame& f, int y, int16_t* out) {
    const int w = f.Width(fsrv::kY);
    if (y < 1 || y + 1 >= f.Height(fsrv::kY)) {
        std::fill(out, out + w, int16_t(0));
        return;
    }
    const uint8_t* above = Row(f, fsrv::kY, y - 1);
    const uint8_t* cur = Row(f, fsrv::kY, y);
    const uint8_t* below = Row(f, fsrv::kY, y + 1);
    for (int x = 0; x < w; ++x) out[x] = int16_t(CombValue(above[x], cur[x], below[x]));
}

// Row y of the flags from the comb measures of rows y, y+1 and y+2.
void FlagRow(const int16_t* s0, const int16_t* s1, const int16_t* s2, int w, int t, uint8_t* out) {
    const int half = t / 2;
    for (int x = 0; x < w; ++x) {
        const int left = x > 0 ? s0[x - 1] : 0, right = x + 1 < w ? s0[x + 1] : 0;
        const bool up = s0[x] > t && s1[x] < -t && s2[x] > t && (left > half || right > half);
        const bool down = s0[x] < -t && s1[x] > t && s2[x] < -t && (left < -half || right < -half);
        out[x] = up || down;
    }
}

}  // namespace

std::vector<uint8_t> CombedPixels(const fsrv::Frame& frame, int threshold) {
    const int w = frame.Width(fsrv::kY), h = frame.Height(fsrv::kY);
    std::vector<uint8_t> flags(size_t(w) * size_t(h), 0);
    std::vector<int16_t> rows(size_t(3) * size_t(w), 0);
    int16_t* ring[3] = {rows.data(), rows.data() + w, rows.data() + 2 * w};
    SignedCombRow(frame, 1, ring[0]);
    SignedCombRow(frame, 2, ring[1]);
    for (int y = 1; y + 3 < h; ++y) {
        SignedCombRow(frame, y + 2, ring[2]);
        FlagRow(ring[0], ring[1], ring[2], w, threshold, flags.data() + size_t(y) * size_t(w));
        std::rotate(ring, ring + 1, ring + 3);
    }
    return flags;
}

int DensestCombedBlock(const std::vector<uint8_t>& flags, int width, int height) {
    const int blocksX = (width + kBlockSize - 1) / kBlockSize;
    std::vector<int> counts(size_t(blocksX), 0);
    int densest = 0;
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = flags.data() + size_t(y) * size_t(width);
        for (int x = 0; x < width; ++x) counts[size_t(x / kBlockSize)] += row[x];
        if ((y + 1) % kBlockSize == 0 || y + 1 == height) {
            for (int& c : counts) {
                densest = std::max(densest, c);
                c = 0;
            }
        }
    }
    return densest;
}

bool IsCombedFrame(const fsrv::Frame& frame, int threshold) {
    const int w = frame.Width(fsrv::kY), h = frame.Height(fsrv::kY);
    return DensestCombedBlock(CombedPixels(frame, threshold), w, h) > kCombedPixelsPerBlock;
}

}  // namespace decomb
