#include "Combing.h"

#include <algorithm>
#include <utility>

#include "common/FilterKit.h"

namespace ivtc {
namespace {

using filters::Row;

// The comb measure of row y split by sign, each saturated to 0..255, into up[1..w] and
// down[1..w]; the entries 0 and w+1 stay 0 so that every pixel has a left and a right neighbour.
// Bytes rather than signed words: twice the pixels per vector instruction.
struct CombRow {
    std::vector<uint8_t> up, down;
    explicit CombRow(int w) : up(size_t(w) + 2, 0), down(size_t(w) + 2, 0) {}
};

void MeasureRow(const fsrv::Frame& f, int y, CombRow& out) {
    const int w = f.Width(fsrv::kY);
    uint8_t* up = out.up.data() + 1;
    uint8_t* down = out.down.data() + 1;
    if (y < 1 || y + 1 >= f.Height(fsrv::kY)) {
        std::fill_n(up, w, uint8_t(0));
        std::fill_n(down, w, uint8_t(0));
        return;
    }
    const uint8_t* above = Row(f, fsrv::kY, y - 1);
    const uint8_t* cur = Row(f, fsrv::kY, y);
    const uint8_t* below = Row(f, fsrv::kY, y + 1);
    for (int x = 0; x < w; ++x) {
        const uint8_t lo = std::min(above[x], below[x]), hi = std::max(above[x], below[x]);
        up[x] = uint8_t(cur[x] > hi ? cur[x] - hi : 0);
        down[x] = uint8_t(cur[x] < lo ? lo - cur[x] : 0);
    }
}

// Row y of the flags from the measures of rows y, y+1 and y+2: teeth alternating over the three
// rows, and a neighbour on row y leaning the same way by half the threshold.
void FlagRow(const CombRow& r0, const CombRow& r1, const CombRow& r2, int w, int t, uint8_t* out) {
    const uint8_t hi = uint8_t(t), half = uint8_t(t / 2);
    const uint8_t *u0 = r0.up.data(), *d0 = r0.down.data(), *u1 = r1.up.data(),
                  *d1 = r1.down.data(), *u2 = r2.up.data(), *d2 = r2.down.data();
    for (int x = 1; x <= w; ++x) {
        const bool up =
            (u0[x] > hi) & (d1[x] > hi) & (u2[x] > hi) & ((u0[x - 1] > half) | (u0[x + 1] > half));
        const bool down =
            (d0[x] > hi) & (u1[x] > hi) & (d2[x] > hi) & ((d0[x - 1] > half) | (d0[x + 1] > half));
        out[x - 1] = uint8_t(up | down);
    }
}

// Calls `row(y, flags)` for every row that can hold flags, in order.
template <typename OnRow>
void ScanFlags(const fsrv::Frame& frame, int threshold, OnRow row) {
    const int w = frame.Width(fsrv::kY), h = frame.Height(fsrv::kY);
    std::vector<uint8_t> flags(size_t(w), 0);
    CombRow rows[3] = {CombRow(w), CombRow(w), CombRow(w)};
    CombRow* ring[3] = {&rows[0], &rows[1], &rows[2]};
    MeasureRow(frame, 1, *ring[0]);
    MeasureRow(frame, 2, *ring[1]);
    for (int y = 1; y + 3 < h; ++y) {
        MeasureRow(frame, y + 2, *ring[2]);
        FlagRow(*ring[0], *ring[1], *ring[2], w, threshold, flags.data());
        row(y, flags.data());
        std::rotate(ring, ring + 1, ring + 3);
    }
}

}  // namespace

std::vector<uint8_t> CombedPixels(const fsrv::Frame& frame, int threshold) {
    const int w = frame.Width(fsrv::kY), h = frame.Height(fsrv::kY);
    std::vector<uint8_t> all(size_t(w) * size_t(h), 0);
    ScanFlags(frame, threshold, [&](int y, const uint8_t* flags) {
        std::copy_n(flags, w, all.data() + size_t(y) * size_t(w));
    });
    return all;
}

int DensestCombedBlock(const fsrv::Frame& frame, int threshold) {
    const int w = frame.Width(fsrv::kY);
    std::vector<int> counts(size_t(w + kBlockSize - 1) / kBlockSize, 0);
    int densest = 0;
    const auto flush = [&] {
        for (int& c : counts) densest = std::max(densest, std::exchange(c, 0));
    };
    int block = 0;
    ScanFlags(frame, threshold, [&](int y, const uint8_t* flags) {
        if (y / kBlockSize != block) {
            flush();
            block = y / kBlockSize;
        }
        for (int x0 = 0; x0 < w; x0 += kBlockSize) {
            int n = 0;
            for (int x = x0; x < std::min(w, x0 + kBlockSize); ++x) n += flags[x];
            counts[size_t(x0 / kBlockSize)] += n;
        }
    });
    flush();
    return densest;
}

bool IsCombedFrame(const fsrv::Frame& frame, int threshold) {
    return DensestCombedBlock(frame, threshold) > kCombedPixelsPerBlock;
}

}  // namespace ivtc
