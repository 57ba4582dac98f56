// Reads arbitrary bytes as an AC3 or an MPEG audio stream (the first byte chooses) frame by
// frame, as the job runner reads the audio it copies. Damage must end in warnings or a
// MediaError, and every frame given out must lie inside the bytes, never past them.
// clang-format off
// fuzz-sources: tools/jobrunner/FrameReader.cpp tools/jobrunner/AudioHeaders.cpp
// fuzz-includes: tools/jobrunner
// clang-format on
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "FrameReader.h"

namespace {

class Memory final : public jobrunner::ByteFeed {
  public:
    Memory(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    size_t Read(uint8_t* to, size_t max) override {
        // Small, uneven reads, as the chunks of an AVI stream come.
        const size_t n = std::min({max, size_ - at_, size_t(1 + at_ % 700)});
        std::memcpy(to, data_ + at_, n);
        at_ += n;
        return n;
    }

  private:
    const uint8_t* data_;
    size_t size_, at_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const auto coding = data[0] & 1 ? jobrunner::AudioCoding::Mpeg : jobrunner::AudioCoding::Ac3;
    jobrunner::FrameReader reader(coding, "f", std::make_unique<Memory>(data + 1, size - 1),
                                  [](const std::string&) {});
    try {
        for (jobrunner::AudioFrame f; reader.Next(f);) {
            if (f.header.size == 0 || f.offset < 0 ||
                uint64_t(f.offset) + f.header.size > size - 1 ||
                std::memcmp(f.data, data + 1 + f.offset, f.header.size) != 0)
                std::abort();
        }
    } catch (const media::MediaError&) {
    }
    return 0;
}
