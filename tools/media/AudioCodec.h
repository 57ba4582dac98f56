#pragma once
// libavcodec's audio parsers and decoders for the DVD audio kinds: what a track is (coding,
// channels, rate, bit rate) and LPCM decoded to interleaved little-endian PCM.
#include <cstdint>
#include <string>
#include <vector>

#include "media/StreamKind.h"
#include "media/WavWriter.h"

struct AVCodecContext;
struct AVFrame;
struct AVPacket;

namespace media {

struct AudioFormat {
    std::string coding;  // "AC3", "DTS", "MPEG1 L2", "LPCM" ...
    int channels = 0;
    int sampleRate = 0;
    int64_t bitRate = 0;    // bits per second; 0 when unknown
    int bitsPerSample = 0;  // LPCM only
    // "AC3 6ch 48kHz 448Kbps", "LPCM 2ch 48kHz 16bit"
    std::string Text() const;
};

// What a track is, from the first bytes of its frames (a few frames are enough). The coding is
// known from `kind` even when the bytes say nothing more.
AudioFormat DescribeAudio(StreamKind kind, const uint8_t* data, size_t size);

// The DVD LPCM decoder: takes each packet's three LPCM header bytes and its samples, gives
// interleaved little-endian samples of 16 or 24 bits.
class LpcmDecoder {
  public:
    LpcmDecoder();  // MediaError when libavcodec has no such decoder
    ~LpcmDecoder();
    LpcmDecoder(const LpcmDecoder&) = delete;
    LpcmDecoder& operator=(const LpcmDecoder&) = delete;

    // Appends the samples of one packet to `out`; false when libavcodec refused the packet.
    bool Decode(const uint8_t* data, size_t size, std::vector<uint8_t>& out);
    // Known after the first packet that decoded.
    PcmFormat Format() const;
    AudioFormat Description() const;

  private:
    void Append(const AVFrame& frame, std::vector<uint8_t>& out) const;
    AVCodecContext* context_ = nullptr;
    AVFrame* frame_ = nullptr;
    AVPacket* packet_ = nullptr;
};

}  // namespace media
