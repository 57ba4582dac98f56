#pragma once
// Little-endian fields appended to a byte vector, as AVI headers and indexes are laid out.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace jobrunner {

class ByteWriter {
  public:
    void U8(uint8_t v) { bytes_.push_back(v); }
    void U16(uint16_t v) {
        U8(uint8_t(v));
        U8(uint8_t(v >> 8));
    }
    void U32(uint32_t v) {
        U16(uint16_t(v));
        U16(uint16_t(v >> 16));
    }
    void U64(uint64_t v) {
        U32(uint32_t(v));
        U32(uint32_t(v >> 32));
    }
    // A four-character code, "RIFF".
    void Code(const char* code) { Raw(code, 4); }
    void Raw(const void* data, size_t size) {
        const auto* p = static_cast<const uint8_t*>(data);
        bytes_.insert(bytes_.end(), p, p + size);
    }
    void Zeros(size_t n) { bytes_.insert(bytes_.end(), n, 0); }
    void PatchU32(size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) bytes_[at + i] = uint8_t(v >> (8 * i));
    }
    size_t Size() const { return bytes_.size(); }
    const std::vector<uint8_t>& Bytes() const { return bytes_; }

  private:
    std::vector<uint8_t> bytes_;
};

// Starts a chunk (its code and a size to be filled in) and ends it: the size is patched and an
// odd size gets its pad byte.
inline size_t BeginChunk(ByteWriter& w, const char* code) {
    w.Code(code);
    w.U32(0);
    return w.Size();
}
inline size_t BeginList(ByteWriter& w, const char* code, const char* type) {
    const size_t start = BeginChunk(w, code);
    w.Code(type);
    return start;
}
inline void EndChunk(ByteWriter& w, size_t start) {
    w.PatchU32(start - 4, uint32_t(w.Size() - start));
    if ((w.Size() - start) & 1) w.U8(0);
}

}  // namespace jobrunner
