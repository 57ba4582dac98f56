#pragma once
// Bounds-checked big-endian reads from the bytes of one IFO file. Every read names the value it
// is for, so a file that ends early gives an error saying which value is missing and where.
#include <cstdint>
#include <string>
#include <utility>

class IfoBytes {
  public:
    // Both strings must outlive the reader.
    IfoBytes(const std::string& data, const std::string& fileName)
        : data_(data), fileName_(fileName) {}

    uint8_t U8(uint64_t offset, const char* what) const;
    uint16_t U16(uint64_t offset, const char* what) const;
    uint32_t U32(uint64_t offset, const char* what) const;
    // `count` bytes as they are stored.
    std::string Bytes(uint64_t offset, uint64_t count, const char* what) const;

    // Raises DvdParseError with "<file name>: ", the place when one is set, and the problem.
    [[noreturn]] void Fail(const std::string& problem) const;

    // Names the structure being read ("program chain 3"), for messages; empty for none.
    void SetPlace(std::string place) { place_ = std::move(place); }

    uint64_t Size() const { return data_.size(); }
    const std::string& FileName() const { return fileName_; }

  private:
    const unsigned char* At(uint64_t offset, uint64_t count, const char* what) const;

    const std::string& data_;
    const std::string& fileName_;
    std::string place_;
};

// "0x1A2B": offsets in messages, as a hex viewer shows them.
std::string HexOffset(uint64_t offset);
