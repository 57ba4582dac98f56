#pragma once
// Combing: the saw-tooth that two fields from different moments leave along moving edges. The
// per-pixel measure is how far a pixel stands out beyond both of its vertical neighbours in the
// same direction (which the other field supplies): positive above both, negative below both, 0
// between them (a gradient, or an edge that belongs to one picture).
//
// A pixel is combed when the measure passes the threshold on its own row and the two below with
// alternating signs (the teeth of a comb; a thin line or a single speck stands out on one row
// only) and the pixel beside it leans the same way (teeth run along the row; noise does not). A
// frame is combed when more than kCombedPixelsPerBlock of the 256 pixels of some 16x16 luma
// block are: enough of it, not a few pixels.
#include <cstdint>
#include <vector>

#include "frameserver_plugin.h"

namespace decomb {

inline constexpr int kBlockSize = 16;
inline constexpr int kCombedPixelsPerBlock = 20;

inline int CombValue(int above, int cur, int below) {
    const int a = cur - above, b = cur - below;
    if (a > 0 && b > 0) return a < b ? a : b;
    if (a < 0 && b < 0) return a > b ? a : b;
    return 0;
}

// One byte per luma pixel, row by row without padding: 1 where the pixel is combed.
std::vector<uint8_t> CombedPixels(const fsrv::Frame& frame, int threshold);

// The largest number of combed pixels in any 16x16 block of such flags.
int DensestCombedBlock(const std::vector<uint8_t>& flags, int width, int height);

bool IsCombedFrame(const fsrv::Frame& frame, int threshold);

}  // namespace decomb
