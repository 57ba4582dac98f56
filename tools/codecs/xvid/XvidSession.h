#pragma once
// One run of the XviD encoder: libxvidcore set up from the configuration for one input format,
// fed frame by frame, drained, and ended with the pass's own end work. This is the core of the
// split layout (xvidcore.dll); the driver (xvidvfw.dll) owns the settings and the messages.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "common/PassFiles.h"
#include "common/Pictures.h"
#include "platform/vfw_abi.h"
#include "xvid/XvidConfig.h"

namespace mxcodec {

class XvidSizeGuard;

class XvidSession {
  public:
    // Creates the encoder; CodecError names what is wrong (a statistics file, the library).
    XvidSession(const XvidConfig& config, const MxVideoFormat& format);
    ~XvidSession();
    XvidSession(const XvidSession&) = delete;
    XvidSession& operator=(const XvidSession&) = delete;

    uint32_t StreamCode() const;
    void Encode(MxCompressFrame& frame);
    bool Drain(MxCompressFrame& frame);
    // Saves the first pass's statistics or checks that the second pass used all of them.
    void Finish();

  private:
    void Create();
    void Destroy() noexcept;
    const XvidZone* ZoneAt(int64_t frame) const;
    int SinglePassQuant(const XvidZone* zone);
    // Codes one input (or, with none, one held frame) into `out`; the library's result.
    int Code(const MxCompressFrame* input, const XvidZone* zone, MxCompressFrame& out);

    XvidConfig config_;
    MxVideoFormat format_;
    void* handle_ = nullptr;
    std::unique_ptr<FirstPassFile> firstPass_;
    std::unique_ptr<XvidSizeGuard> guard_;
    std::string statsPath_;  // the file the library's rate control reads or writes
    PassFrames statFrames_;  // a second pass's check of its frames against the statistics
    int64_t framesIn_ = 0;
    QuantizerSpreader spreader_;  // a single pass's quantizer with a fraction
    std::vector<uint8_t> buffer_;
    std::vector<uint8_t> neutralChroma_;  // a U or V plane of mid grey, for greyscale zones
};

}  // namespace mxcodec
