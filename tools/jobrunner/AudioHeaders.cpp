#include "AudioHeaders.h"

#include <cstring>

namespace jobrunner {

namespace {

// kbit/s by bit rate index 1..14.
constexpr int kMpegRates[5][14] = {
    {32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448},  // MPEG-1 layer I
    {32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},     // MPEG-1 layer II
    {32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320},      // MPEG-1 layer III
    {32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256},     // MPEG-2 layer I
    {8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},          // MPEG-2 layers II, III
};
constexpr int kMpegSampleRates[3] = {44100, 48000,
                                     32000};  // MPEG-1; halved for 2, quartered for 2.5
constexpr int kAc3Rates[19] = {32,  40,  48,  56,  64,  80,  96,  112, 128, 160,
                               192, 224, 256, 320, 384, 448, 512, 576, 640};
constexpr int kAc3SampleRates[3] = {48000, 44100, 32000};
constexpr int kAc3Channels[8] = {2, 1, 2, 3, 3, 4, 4, 5};  // by audio coding mode

bool ReadMpeg(const uint8_t* p, FrameHeader& h) {
    if (p[0] != 0xFF || (p[1] & 0xE0) != 0xE0) return false;
    const int versionBits = (p[1] >> 3) & 3, layerBits = (p[1] >> 1) & 3;
    const int rateIndex = p[2] >> 4, srIndex = (p[2] >> 2) & 3;
    if (versionBits == 1 || layerBits == 0 || rateIndex == 0 || rateIndex == 15 || srIndex == 3 ||
        (p[3] & 3) == 2)
        return false;
    h.coding = AudioCoding::Mpeg;
    h.version = versionBits == 3 ? 1 : versionBits == 2 ? 2 : 3;
    h.layer = 4 - layerBits;
    h.mode = p[3] >> 6;
    h.padded = (p[2] >> 1) & 1;
    h.channels = h.mode == 3 ? 1 : 2;
    h.sampleRate = kMpegSampleRates[srIndex] >> (h.version - 1);
    const int table = h.version == 1 ? h.layer - 1 : (h.layer == 1 ? 3 : 4);
    h.bitRate = kMpegRates[table][rateIndex - 1] * 1000;
    if (h.layer == 1) {
        h.samplesPerFrame = 384;
        h.size = uint32_t((12 * h.bitRate / h.sampleRate + h.padded) * 4);
    } else {
        const bool half = h.layer == 3 && h.version != 1;
        h.samplesPerFrame = half ? 576 : 1152;
        h.size = uint32_t((half ? 72 : 144) * h.bitRate / h.sampleRate + h.padded);
    }
    std::memcpy(h.raw, p, 4);
    return true;
}

bool ReadAc3(const uint8_t* p, FrameHeader& h) {
    if (p[0] != 0x0B || p[1] != 0x77) return false;
    const int fscod = p[4] >> 6, frmsizecod = p[4] & 0x3F;
    h.bsid = p[5] >> 3;
    // Identifiers above 8 are the half-rate variants and E-AC3, which this is not.
    if (fscod == 3 || frmsizecod >= 38 || h.bsid > 8) return false;
    h.coding = AudioCoding::Ac3;
    h.sampleRate = kAc3SampleRates[fscod];
    const int kbps = kAc3Rates[frmsizecod / 2];
    h.bitRate = kbps * 1000;
    const int words = fscod == 0   ? kbps * 2
                      : fscod == 2 ? kbps * 3
                                   : kbps * 1536000 / (44100 * 16) + (frmsizecod & 1);
    h.size = uint32_t(words * 2);
    h.samplesPerFrame = 1536;
    h.acmod = p[6] >> 5;
    // The mix levels that follow the coding mode decide where the low-frequency flag is.
    int bit = 3;
    if ((h.acmod & 1) && h.acmod != 1) bit += 2;
    if (h.acmod & 4) bit += 2;
    if (h.acmod == 2) bit += 2;
    const unsigned window = unsigned(p[6]) << 8 | p[7];
    h.lfe = (window >> (15 - bit)) & 1;
    h.channels = kAc3Channels[h.acmod] + (h.lfe ? 1 : 0);
    return true;
}

size_t SideInformationBytes(const FrameHeader& h) {
    if (h.version == 1) return h.channels == 1 ? 17 : 32;
    return h.channels == 1 ? 9 : 17;
}

}  // namespace

bool ReadFrameHeader(AudioCoding coding, const uint8_t* p, FrameHeader& h) {
    h = FrameHeader{};
    return coding == AudioCoding::Ac3 ? ReadAc3(p, h) : ReadMpeg(p, h);
}

bool SameStream(const FrameHeader& a, const FrameHeader& b) {
    if (a.coding != b.coding || a.sampleRate != b.sampleRate) return false;
    if (a.coding == AudioCoding::Ac3) return true;
    return a.version == b.version && a.layer == b.layer && a.channels == b.channels;
}

bool IsSummaryFrame(const FrameHeader& h, const uint8_t* frame) {
    if (h.coding != AudioCoding::Mpeg || h.layer != 3) return false;
    const bool crc = (h.raw[1] & 1) == 0;
    const size_t at = 4 + (crc ? 2 : 0) + SideInformationBytes(h);
    auto tagAt = [&](size_t offset, const char* tag) {
        return offset + 4 <= h.size && std::memcmp(frame + offset, tag, 4) == 0;
    };
    return tagAt(at, "Xing") || tagAt(at, "Info") || tagAt(36, "VBRI");
}

std::vector<uint8_t> SilentMpegFrame(const FrameHeader& like, bool padded) {
    uint8_t header[kHeaderBytes] = {};
    std::memcpy(header, like.raw, 4);
    header[1] |= 1;  // no check sum
    header[2] = uint8_t((header[2] & ~2) | (padded ? 2 : 0));
    FrameHeader h;
    ReadFrameHeader(AudioCoding::Mpeg, header, h);
    std::vector<uint8_t> frame(h.size, 0);
    std::memcpy(frame.data(), header, 4);
    return frame;
}

std::string Describe(const FrameHeader& h) {
    const std::string rest = " " + std::to_string(h.channels) + "ch " +
                             std::to_string(h.sampleRate) + " Hz " +
                             std::to_string(h.bitRate / 1000) + " kbit/s";
    if (h.coding == AudioCoding::Ac3) return "AC3" + rest;
    static const char* const kVersions[] = {"", "MPEG-1", "MPEG-2", "MPEG-2.5"};
    static const char* const kLayers[] = {"", "I", "II", "III"};
    return std::string(kVersions[h.version]) + " layer " + kLayers[h.layer] + rest;
}

}  // namespace jobrunner
