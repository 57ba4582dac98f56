#pragma once
// How different two frames are, for the decimation. The luma plane is cut into 32x32 blocks
// (smaller ones at the right and bottom edges); in each, every pixel's absolute difference less a
// noise allowance of kNoiseLevels (never below 0) is averaged; the metric is the average of the
// block that changed most, in luma levels. Coding noise stays within the allowance, so a repeated
// picture scores 0 or a few hundredths even after lossy coding of each copy; motion anywhere in
// the picture, even a small object, scores several levels in the blocks it crosses.
#include "frameserver_plugin.h"

namespace ivtc {

inline constexpr int kMetricBlock = 32;
inline constexpr int kNoiseLevels = 3;

double FrameDifference(const fsrv::Frame& a, const fsrv::Frame& b);

}  // namespace ivtc
