#pragma once
// Combing: the saw-tooth that two fields from different moments leave along moving edges. The
// per-pixel measure is how far a pixel lies above both of its vertical neighbours or below both
// (which the other field supplies); a pixel between them (a gradient, or an edge that belongs to
// one picture) measures 0.
//
// A pixel is combed when the measure passes the threshold on its own row and the two below with
// alternating signs (the teeth of a comb; a thin line or a single speck stands out on one row
// only) and the pixel beside it leans the same way (teeth run along the row; noise does not). A
// frame is combed when more than kCombedPixelsPerBlock of the 256 pixels of some 16x16 luma
// block are: enough of it, not a few pixels.
#include <cstdint>
#include <vector>

#include "frameserver_plugin.h"

namespace ivtc {

inline constexpr int kBlockSize = 16;
inline constexpr int kCombedPixelsPerBlock = 20;

// One byte per luma pixel, row by row without padding: 1 where the pixel is combed.
std::vector<uint8_t> CombedPixels(const fsrv::Frame& frame, int threshold);

// The largest number of combed pixels in any 16x16 luma block.
int DensestCombedBlock(const fsrv::Frame& frame, int threshold);

bool IsCombedFrame(const fsrv::Frame& frame, int threshold);

}  // namespace ivtc
