#pragma once
// Small helpers both codec modules share for the frames they return.
#include <cstddef>
#include <cstdint>

namespace mxcodec {

// The coding type of the first picture (VOP) in an MPEG-4 video chunk: 'I', 'P', 'B' or 'S';
// 0 when the chunk holds no picture header.
char FirstPictureType(const uint8_t* data, size_t size);

// Spreads a quantizer with a fraction over whole quantizers, frame after frame, so that their
// average is the quantizer asked for (2.67: two frames in three at 3, one at 2).
class QuantizerSpreader {
  public:
    int Next(double quantizer);

  private:
    double carry_ = 0.5;
};

}  // namespace mxcodec
