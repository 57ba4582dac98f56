#include "media/VideoHeaders.h"

namespace media {

namespace {
constexpr uint8_t kSequenceExtensionId = 1;
constexpr uint8_t kPictureCodingExtensionId = 8;
}  // namespace

size_t HeaderBytes(uint8_t code) {
    switch (code) {
        case start_code::kPicture:
            return 2;
        case start_code::kSequence:
            return 7;
        case start_code::kExtension:
            return 6;
        case start_code::kGop:
            return 4;
        case start_code::kSequenceEnd:
            return 0;
        default:
            return 0;
    }
}

std::optional<SequenceHeader> ParseSequenceHeader(const uint8_t* p, size_t n) {
    if (n < 7) return std::nullopt;
    SequenceHeader h;
    h.width = p[0] << 4 | p[1] >> 4;
    h.height = (p[1] & 0x0F) << 8 | p[2];
    h.aspectCode = p[3] >> 4;
    h.frameRateCode = p[3] & 0x0F;
    const bool marker = (p[6] >> 5) & 1;
    if (h.width == 0 || h.height == 0 || h.aspectCode == 0 || h.aspectCode > 4 ||
        h.frameRateCode == 0 || h.frameRateCode > 8 || !marker)
        return std::nullopt;
    return h;
}

std::optional<SequenceExtension> ParseSequenceExtension(const uint8_t* p, size_t n) {
    if (n < 6 || p[0] >> 4 != kSequenceExtensionId) return std::nullopt;
    SequenceExtension e;
    e.progressiveSequence = p[1] & 0x08;
    e.chromaFormat = (p[1] >> 1) & 3;
    e.widthExtension = (p[1] & 1) << 1 | p[2] >> 7;
    e.heightExtension = (p[2] >> 5) & 3;
    e.frameRateExtensionN = (p[5] >> 5) & 3;
    e.frameRateExtensionD = p[5] & 0x1F;
    if (e.chromaFormat == 0 || !(p[3] & 1)) return std::nullopt;  // reserved, marker bit
    return e;
}

std::optional<PictureCodingExtension> ParsePictureCodingExtension(const uint8_t* p, size_t n) {
    if (n < 5 || p[0] >> 4 != kPictureCodingExtensionId) return std::nullopt;
    PictureCodingExtension e;
    const int structure = p[2] & 3;
    if (structure == 0) return std::nullopt;  // reserved
    e.structure = static_cast<PictureStructure>(structure);
    e.topFieldFirst = p[3] & 0x80;
    e.repeatFirstField = p[3] & 0x02;
    e.progressiveFrame = p[4] & 0x80;
    return e;
}

std::optional<GopHeader> ParseGopHeader(const uint8_t* p, size_t n) {
    if (n < 4 || !(p[1] & 0x08)) return std::nullopt;  // the marker bit inside the time code
    return GopHeader{(p[3] & 0x40) != 0, (p[3] & 0x20) != 0};
}

std::optional<PictureHeader> ParsePictureHeader(const uint8_t* p, size_t n) {
    if (n < 2) return std::nullopt;
    return PictureHeader{p[0] << 2 | p[1] >> 6, (p[1] >> 3) & 7};
}

Rational FrameRateOf(int frameRateCode) {
    static constexpr Rational kRates[] = {{0, 0},  {24000, 1001}, {24, 1},
                                          {25, 1}, {30000, 1001}, {30, 1},
                                          {50, 1}, {60000, 1001}, {60, 1}};
    if (frameRateCode < 1 || frameRateCode > 8) return {};
    return kRates[frameRateCode];
}

}  // namespace media
