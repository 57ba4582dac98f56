#pragma once
// Little pieces of the RIFF/AVI file layout shared by the structure scan and the index readers.
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>

namespace avi {

// A four-character code as the file stores it, read as a little-endian 32-bit number.
constexpr uint32_t FourCC(const char (&code)[5]) {
    return uint32_t(uint8_t(code[0])) | uint32_t(uint8_t(code[1])) << 8 |
           uint32_t(uint8_t(code[2])) << 16 | uint32_t(uint8_t(code[3])) << 24;
}

inline uint16_t LoadU16(const uint8_t* p) {
    return uint16_t(p[0] | p[1] << 8);
}
inline uint32_t LoadU32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
inline uint64_t LoadU64(const uint8_t* p) {
    return uint64_t(LoadU32(p)) | uint64_t(LoadU32(p + 4)) << 32;
}

// Printable form of a code for messages: "00dc", or hex bytes when it is not plain text.
std::string CodeText(uint32_t code);

// A damaged or unreadable structure; the text says what and where (file offset), the caller adds
// the file name.
class TAviFormatError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// "<what> at offset <pos>: <problem>"
[[noreturn]] void ThrowAt(int64_t pos, const std::string& what, const std::string& problem);

}  // namespace avi
