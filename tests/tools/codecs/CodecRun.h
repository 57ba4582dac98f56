#pragma once
// Drives an installed codec module through the codec layer the way a host does: open it by its
// handler code, optionally replace its state, begin with a format, compress the frames of a raw
// I420 file, flush, end. Used by the tests and by the benchmark's codec_run program.
#include <cstdint>
#include <string>
#include <vector>

#include "util/VFW.h"

namespace codec_testing {

struct ClipFormat {
    int width = 0;
    int height = 0;
    uint32_t rateNum = 25;
    uint32_t rateDen = 1;
    int frames = 0;        // frames read from the file (and announced to the codec)
    bool announce = true;  // tell the codec the frame count at BEGIN
};

struct CodedFrame {
    uint32_t bytes = 0;
    bool key = false;
    char type = 0;
};

struct CodecResult {
    intptr_t code = 0;               // MXICERR_OK, or the first failing message's result
    std::string error;               // the module's error text after a failure
    std::vector<CodedFrame> frames;  // non-empty outputs, in stream order
    uint64_t bytes = 0;
    uint32_t fourcc = 0;
    bool Ok() const { return code == 0; }
};

// One open instance; closed when the object goes.
class Codec {
  public:
    explicit Codec(const std::string& handler);
    explicit operator bool() const { return bool(hic_); }
    const std::string& WhyNot() const { return whyNot_; }

    std::vector<uint8_t> State() const;
    intptr_t SetState(const std::vector<uint8_t>& state);
    intptr_t Send(uint32_t message, intptr_t p1 = 0, intptr_t p2 = 0) const;
    std::string ErrorText() const;

  private:
    std::string whyNot_;  // before hic_: the opening writes it
    HIC hic_;
};

// Compresses the first `clip.frames` frames of `yuv`; writes the compressed frames one after
// another to `m4v` (an MPEG-4 elementary stream that ffmpeg reads with -f m4v) unless it is
// empty.
CodecResult Compress(const Codec& codec, const std::string& yuv, const ClipFormat& clip,
                     const std::string& m4v);

}  // namespace codec_testing
