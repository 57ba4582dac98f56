#pragma once
// Big-endian values at offsets of a byte range. Every read is checked against the range first:
// Has() for a caller that skips what is missing, Need() for one that gives up with an error.
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace subtitles {

class Bytes {
  public:
    Bytes(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    explicit Bytes(std::string_view text)
        : data_(reinterpret_cast<const uint8_t*>(text.data())), size_(text.size()) {}

    size_t Size() const { return size_; }
    const uint8_t* At(size_t offset) const { return data_ + offset; }
    bool Has(size_t offset, size_t count) const {
        return offset <= size_ && count <= size_ - offset;
    }
    // Raises "<what>: <name> ends at byte <size>, before offset <offset>" when the range is short.
    void Need(size_t offset, size_t count, const std::string& name, const char* what) const {
        if (!Has(offset, count))
            throw std::runtime_error(name + ": the file ends at byte " + std::to_string(size_) +
                                     ", before the " + what + " at offset " +
                                     std::to_string(offset));
    }

    uint8_t U8(size_t offset) const { return data_[offset]; }
    uint16_t U16(size_t offset) const { return uint16_t(data_[offset] << 8 | data_[offset + 1]); }
    uint32_t U32(size_t offset) const { return uint32_t(U16(offset)) << 16 | U16(offset + 2); }

  private:
    const uint8_t* data_;
    size_t size_;
};

}  // namespace subtitles
