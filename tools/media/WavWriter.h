#pragma once
// A WAV file of interleaved little-endian PCM: the plain format for up to two channels of up to
// 16 bits, the extensible one (with its channel mask) otherwise. The sizes in the header are
// filled in by Finish(); past 4 GiB they stay at their largest value and readers read to the end.
#include <cstdint>

#include "media/OutputFile.h"

namespace media {

struct PcmFormat {
    int channels = 2;
    int sampleRate = 48000;
    int bitsPerSample = 16;  // 16 or 24
    uint64_t channelMask = 0;
    int BlockAlign() const { return channels * bitsPerSample / 8; }
};

class WavWriter {
  public:
    WavWriter(OutputFile& file, const PcmFormat& format);  // writes the header
    void Samples(const uint8_t* bytes, size_t size) { file_.Write(bytes, size); }
    void Finish();

  private:
    OutputFile& file_;
    int64_t dataStart_ = 0;
    bool extensible_ = false;
};

}  // namespace media
