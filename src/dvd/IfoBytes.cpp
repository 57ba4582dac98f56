#include "dvd/IfoBytes.h"

#include <cstdio>

#include "dvd/DvdError.h"

std::string HexOffset(uint64_t offset) {
    char text[24];
    std::snprintf(text, sizeof text, "0x%llX", static_cast<unsigned long long>(offset));
    return text;
}

void IfoBytes::Fail(const std::string& problem) const {
    throw DvdParseError(fileName_ + ": " + (place_.empty() ? "" : place_ + ": ") + problem);
}

const unsigned char* IfoBytes::At(uint64_t offset, uint64_t count, const char* what) const {
    // Written so that no sum can wrap: offsets come from the file and may be anything.
    if (offset > data_.size() || count > data_.size() - offset) {
        Fail("the file ends before " + std::string(what) + " (" + std::to_string(count) +
             " bytes at offset " + HexOffset(offset) + "; the file has " +
             std::to_string(data_.size()) + " bytes)");
    }
    return reinterpret_cast<const unsigned char*>(data_.data()) + offset;
}

uint8_t IfoBytes::U8(uint64_t offset, const char* what) const {
    return *At(offset, 1, what);
}

uint16_t IfoBytes::U16(uint64_t offset, const char* what) const {
    const unsigned char* p = At(offset, 2, what);
    return static_cast<uint16_t>(p[0] << 8 | p[1]);
}

uint32_t IfoBytes::U32(uint64_t offset, const char* what) const {
    const unsigned char* p = At(offset, 4, what);
    return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | uint32_t{p[3]};
}

std::string IfoBytes::Bytes(uint64_t offset, uint64_t count, const char* what) const {
    const unsigned char* p = At(offset, count, what);
    return std::string(reinterpret_cast<const char*>(p), static_cast<size_t>(count));
}
