#pragma once
// The frame headers of the two audio codings the AVI takes as they are: AC3 and MPEG audio
// (layers I to III, MPEG-1, -2 and 2.5). Read by hand, because the walk over a file needs the
// exact size and place of every frame, and libavcodec keeps its header readers private.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace jobrunner {

enum class AudioCoding { Ac3, Mpeg };

struct FrameHeader {
    AudioCoding coding = AudioCoding::Ac3;
    uint32_t size = 0;  // bytes of the whole frame
    int sampleRate = 0;
    int channels = 0;
    int samplesPerFrame = 0;
    int bitRate = 0;  // bits per second
    // MPEG audio
    int version = 0;  // 1 MPEG-1, 2 MPEG-2, 3 MPEG-2.5
    int layer = 0;
    int mode = 0;  // 0 stereo, 1 joint stereo, 2 dual channel, 3 mono
    bool padded = false;
    uint8_t raw[4] = {};  // the header bytes, for silent frames of the same kind
    // AC3
    int bsid = 0;
    int acmod = 0;
    bool lfe = false;
};

// Bytes a header reader looks at.
inline constexpr size_t kHeaderBytes = 8;

// The header at `p` (at least kHeaderBytes readable); false when these bytes start no frame of
// `coding`.
bool ReadFrameHeader(AudioCoding coding, const uint8_t* p, FrameHeader& h);

// Two frames belong to one stream: the same coding variant and sample rate (the bit rate and,
// for AC3, the channels may change).
bool SameStream(const FrameHeader& a, const FrameHeader& b);

// A layer III frame whose side information is followed by "Xing", "Info" or "VBRI": the
// encoder's summary of the file, which holds no audio.
bool IsSummaryFrame(const FrameHeader& h, const uint8_t* frame);

// An MPEG audio frame of the kind of `like` that decodes to silence: the header with no check
// sum, then zeros (no bits allocated, no side information). `padded` adds the padding slot.
std::vector<uint8_t> SilentMpegFrame(const FrameHeader& like, bool padded);

// "AC3 6ch 48000 Hz 448 kbit/s", "MPEG-1 layer III 2ch 48000 Hz 128 kbit/s"
std::string Describe(const FrameHeader& h);

}  // namespace jobrunner
