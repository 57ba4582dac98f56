#pragma once
// The MPEG-2 (and MPEG-1) video headers an index needs, parsed from the bytes that follow a
// start code (p points at the byte after 00 00 01 <code>). Each parser checks its length and
// marker bits and gives nullopt for a header that cannot be one.
#include <cstddef>
#include <cstdint>
#include <optional>

namespace media {

namespace start_code {
inline constexpr uint8_t kPicture = 0x00;
inline constexpr uint8_t kLastSlice = 0xAF;
inline constexpr uint8_t kSequence = 0xB3;
inline constexpr uint8_t kExtension = 0xB5;
inline constexpr uint8_t kSequenceEnd = 0xB7;
inline constexpr uint8_t kGop = 0xB8;
}  // namespace start_code

// Bytes after the start code that the parser of `code` reads; 0 for codes without one here.
size_t HeaderBytes(uint8_t code);

struct SequenceHeader {
    int width = 0, height = 0;
    int aspectCode = 0;     // 1 square pixels, 2 4:3, 3 16:9, 4 2.21:1
    int frameRateCode = 0;  // 1 24000/1001 ... 3 25, 4 30000/1001 ... 8 60
    bool operator==(const SequenceHeader&) const = default;
};

struct SequenceExtension {
    bool progressiveSequence = false;
    int chromaFormat = 1;  // 1 4:2:0, 2 4:2:2, 3 4:4:4
    int widthExtension = 0, heightExtension = 0;
    int frameRateExtensionN = 0, frameRateExtensionD = 0;
};

struct GopHeader {
    bool closed = false;
    bool brokenLink = false;
};

enum class PictureType { I = 1, P = 2, B = 3 };

struct PictureHeader {
    int temporalReference = 0;
    int codingType = 0;  // 1 I, 2 P, 3 B, 4 D; other values are damage
};

enum class PictureStructure { Top = 1, Bottom = 2, Frame = 3 };

struct PictureCodingExtension {
    PictureStructure structure = PictureStructure::Frame;
    bool topFieldFirst = false;
    bool repeatFirstField = false;
    bool progressiveFrame = false;
};

std::optional<SequenceHeader> ParseSequenceHeader(const uint8_t* p, size_t n);
std::optional<SequenceExtension> ParseSequenceExtension(const uint8_t* p, size_t n);
std::optional<PictureCodingExtension> ParsePictureCodingExtension(const uint8_t* p, size_t n);
std::optional<GopHeader> ParseGopHeader(const uint8_t* p, size_t n);
std::optional<PictureHeader> ParsePictureHeader(const uint8_t* p, size_t n);

// Frames per second of a frame rate code as a fraction (0/0 for codes outside 1-8).
struct Rational {
    int num = 0, den = 0;
};
Rational FrameRateOf(int frameRateCode);

}  // namespace media
