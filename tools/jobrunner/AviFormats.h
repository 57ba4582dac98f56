#pragma once
// The stream headers of the AVI: a video stream from its picture size, code and rate, an audio
// stream from its first frame and how it is timed.
#include <cstdint>
#include <vector>

#include "AudioHeaders.h"
#include "AudioTrack.h"
#include "AviWriter.h"

namespace jobrunner {

struct VideoDescription {
    int width = 0, height = 0;
    uint32_t rateNum = 25, rateDen = 1;  // frames per second
    uint32_t fourcc = 0;                 // the stream's code ("XVID", "DX50", "I420")
    uint16_t bitCount = 24;
    uint32_t imageSize = 0;      // bytes of an uncompressed picture
    std::vector<uint8_t> extra;  // after the BITMAPINFOHEADER (a copied stream's own)
};

AviStream VideoStream(const VideoDescription& video, bool compressed);

// An audio stream counted in bytes or in frames; `averageBytesPerSecond` is known at the end
// for a variable rate (0 until then: the first frame's rate stands in).
AviStream AudioStream(const FrameHeader& first, AudioLayout layout, int streamNumber,
                      uint32_t averageBytesPerSecond = 0);

}  // namespace jobrunner
