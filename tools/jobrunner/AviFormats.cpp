#include "AviFormats.h"

#include <cmath>
#include <cstdio>

#include "ByteWriter.h"

namespace jobrunner {

namespace {

constexpr uint16_t kTagAc3 = 0x2000, kTagMp3 = 0x55, kTagMpeg = 0x50;

// The MPEG-1 format block's flags and codes.
constexpr uint16_t kMpegIdMpeg1 = 0x10;
constexpr uint16_t kMpegLayerCodes[4] = {0, 1, 2, 4};
constexpr uint16_t kMpegModeCodes[4] = {1, 2, 4, 8};  // stereo, joint, dual, mono

std::vector<uint8_t> WaveFormat(const FrameHeader& h, AudioLayout layout, uint32_t average) {
    const bool byBytes = layout == AudioLayout::ByteCounted;
    ByteWriter w;
    const uint16_t tag = h.coding == AudioCoding::Ac3 ? kTagAc3 : h.layer == 3 ? kTagMp3 : kTagMpeg;
    w.U16(tag);
    w.U16(uint16_t(h.channels));
    w.U32(uint32_t(h.sampleRate));
    w.U32(average);
    // A stream timed by its frames has blocks of one frame's samples; one timed by its bytes has
    // blocks of a byte.
    w.U16(byBytes ? 1 : uint16_t(h.samplesPerFrame));
    w.U16(0);  // bits per sample: none for compressed audio
    if (tag == kTagAc3) {
        w.U16(0);
    } else if (tag == kTagMp3) {
        w.U16(12);
        w.U16(1);  // MPEG
        w.U32(0);  // padding as the standard has it
        w.U16(byBytes ? uint16_t(std::lround(double(h.bitRate) * h.samplesPerFrame /
                                             (8.0 * h.sampleRate)))
                      : uint16_t(h.samplesPerFrame));
        w.U16(1);  // frames a block
        w.U16(0);  // codec delay: the transcoder has cut it already
    } else {
        w.U16(22);
        w.U16(kMpegLayerCodes[h.layer]);
        w.U32(byBytes ? uint32_t(h.bitRate) : 0);
        w.U16(kMpegModeCodes[h.mode]);
        w.U16(0);  // mode extension
        w.U16(1);  // no emphasis
        w.U16(h.version == 1 ? kMpegIdMpeg1 : 0);
        w.U32(0);
        w.U32(0);
    }
    return w.Bytes();
}

}  // namespace

AviStream VideoStream(const VideoDescription& video, bool compressed) {
    AviStream s;
    std::snprintf(s.type, sizeof s.type, "vids");
    std::snprintf(s.chunkId, sizeof s.chunkId, compressed ? "00dc" : "00db");
    s.handler = video.fourcc;
    s.rate = video.rateNum;
    s.scale = video.rateDen;
    s.width = video.width;
    s.height = video.height;
    ByteWriter w;
    w.U32(uint32_t(40 + video.extra.size()));
    w.U32(uint32_t(video.width));
    w.U32(uint32_t(video.height));
    w.U16(1);  // planes
    w.U16(video.bitCount);
    w.U32(video.fourcc);
    w.U32(video.imageSize);
    w.Zeros(16);  // resolution and palette
    w.Raw(video.extra.data(), video.extra.size());
    s.format = w.Bytes();
    return s;
}

AviStream AudioStream(const FrameHeader& first, AudioLayout layout, int streamNumber,
                      uint32_t averageBytesPerSecond) {
    AviStream s;
    std::snprintf(s.type, sizeof s.type, "auds");
    std::snprintf(s.chunkId, sizeof s.chunkId, "%02uwb", unsigned(streamNumber) % 100u);
    const uint32_t nominal = uint32_t(first.bitRate / 8);
    if (layout == AudioLayout::ByteCounted) {
        s.scale = 1;
        s.rate = nominal;
        s.sampleSize = 1;
    } else {
        s.scale = uint32_t(first.samplesPerFrame);
        s.rate = uint32_t(first.sampleRate);
        s.sampleSize = 0;
    }
    s.format = WaveFormat(first, layout, averageBytesPerSecond ? averageBytesPerSecond : nominal);
    return s;
}

}  // namespace jobrunner
