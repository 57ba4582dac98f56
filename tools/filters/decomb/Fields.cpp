#include "Fields.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "Combing.h"
#include "common/FilterKit.h"

namespace ivtc {

using filters::Row;

int64_t MatchCost(const fsrv::Frame& keep, const fsrv::Frame& other, int otherParity) {
    const int w = keep.Width(fsrv::kY), h = keep.Height(fsrv::kY);
    int64_t cost = 0;
    for (int y = otherParity == 0 ? 2 : 1; y + 1 < h; y += 2) {
        const uint8_t* above = Row(keep, fsrv::kY, y - 1);
        const uint8_t* cur = Row(other, fsrv::kY, y);
        const uint8_t* below = Row(keep, fsrv::kY, y + 1);
        uint32_t row = 0;
        for (int x = 0; x < w; ++x) {
            const int lo = std::min(above[x], below[x]), hi = std::max(above[x], below[x]);
            row += uint32_t((cur[x] > hi ? cur[x] - hi : 0) + (cur[x] < lo ? lo - cur[x] : 0));
        }
        cost += row;
    }
    return cost;
}

std::shared_ptr<fsrv::Frame> Weave(const fsrv::Frame& keep, const fsrv::Frame& other,
                                   int otherParity) {
    auto out = std::make_shared<fsrv::Frame>(keep.Width(fsrv::kY), keep.Height(fsrv::kY));
    for (int p = 0; p < 3; ++p)
        for (int y = 0; y < out->Height(p); ++y)
            std::memcpy(Row(*out, p, y), Row(y % 2 == otherParity ? other : keep, p, y),
                        size_t(out->Width(p)));
    return out;
}

namespace {

// Whether any flag is set in rows y0..y1 and columns x0..x1 (clipped to the picture).
bool AnyFlag(const std::vector<uint8_t>& flags, int w, int h, int x0, int x1, int y0, int y1) {
    for (int y = std::max(0, y0); y <= std::min(h - 1, y1); ++y) {
        const uint8_t* row = flags.data() + size_t(y) * size_t(w);
        for (int x = std::max(0, x0); x <= std::min(w - 1, x1); ++x)
            if (row[x]) return true;
    }
    return false;
}

}  // namespace

void InterpolateField(fsrv::Frame& frame, int parity, const std::vector<uint8_t>* mask) {
    const int lumaW = frame.Width(fsrv::kY), lumaH = frame.Height(fsrv::kY);
    for (int p = 0; p < 3; ++p) {
        const int w = frame.Width(p), h = frame.Height(p), s = p == fsrv::kY ? 1 : 2;
        for (int y = parity == 0 ? 2 : 1; y + 1 < h; y += 2) {
            const uint8_t* above = Row(frame, p, y - 1);
            const uint8_t* below = Row(frame, p, y + 1);
            uint8_t* cur = Row(frame, p, y);
            for (int x = 0; x < w; ++x) {
                // A flag marks the top row of a run of comb teeth.
                if (mask &&
                    !AnyFlag(*mask, lumaW, lumaH, s * x - 1, s * x + s, s * y - 2, s * y + s - 1))
                    continue;
                cur[x] = uint8_t((above[x] + below[x] + 1) / 2);
            }
        }
    }
}

}  // namespace ivtc
