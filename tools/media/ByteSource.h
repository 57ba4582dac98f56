#pragma once
// Bytes read in order from a place that can also be sought: the VOB files of a title as one
// stream, or a block of memory (tests, fuzzing).
#include <cstdint>
#include <string>
#include <vector>

#include "media/VobSequence.h"

namespace media {

class ByteSource {
  public:
    virtual ~ByteSource() = default;
    // Reads up to `size` bytes at the current offset and moves past them; fewer only at the end.
    // MediaError, naming the file, when a read fails.
    virtual size_t Read(uint8_t* to, size_t size) = 0;
    virtual void Seek(int64_t offset) = 0;
    virtual int64_t Size() const = 0;
    // Where an offset is, for messages ("VTS_01_2.VOB at offset 4096").
    virtual std::string Describe(int64_t offset) const = 0;
};

// The files of a VobSequence, read with plain positioned reads; one file is open at a time.
class VobStream : public ByteSource {
  public:
    explicit VobStream(VobSequence sequence);
    ~VobStream() override;
    VobStream(const VobStream&) = delete;
    VobStream& operator=(const VobStream&) = delete;

    size_t Read(uint8_t* to, size_t size) override;
    void Seek(int64_t offset) override { offset_ = offset; }
    int64_t Size() const override { return sequence_.TotalSize(); }
    std::string Describe(int64_t offset) const override { return sequence_.Describe(offset); }
    const VobSequence& Sequence() const { return sequence_; }

  private:
    int Descriptor(int file);

    VobSequence sequence_;
    int64_t offset_ = 0;
    int openFile_ = -1;
    int fd_ = -1;
};

class MemorySource : public ByteSource {
  public:
    explicit MemorySource(std::vector<uint8_t> bytes, std::string name = "memory")
        : bytes_(std::move(bytes)), name_(std::move(name)) {}
    size_t Read(uint8_t* to, size_t size) override;
    void Seek(int64_t offset) override { offset_ = offset; }
    int64_t Size() const override { return static_cast<int64_t>(bytes_.size()); }
    std::string Describe(int64_t offset) const override {
        return name_ + " at offset " + std::to_string(offset);
    }

  private:
    std::vector<uint8_t> bytes_;
    std::string name_;
    int64_t offset_ = 0;
};

}  // namespace media
