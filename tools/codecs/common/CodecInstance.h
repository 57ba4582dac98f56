#pragma once
// One open codec instance as the driver messages see it: the order of a run (BEGIN, frames,
// FLUSH, END), the checks of every structure a host passes, and the error text. A codec derives
// from it and does the work in the hooks; a hook reports a failure by throwing CodecError, and
// nothing it throws ever crosses the C interface.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/vfw_abi.h"

namespace mxcodec {

class CodecInstance {
  public:
    virtual ~CodecInstance() = default;

    // One driver message other than OPEN and CLOSE (see platform/vfw_abi.h for each).
    intptr_t Message(uint32_t message, intptr_t p1, intptr_t p2) noexcept;

    // The first bytes of every compressed frame buffer a host must offer.
    static uint32_t MaxFrameBytes(int32_t width, int32_t height);

  protected:
    // The configuration as a state blob, and back. LoadState throws CodecError for a blob it
    // refuses and then leaves the configuration as it was.
    virtual std::vector<uint8_t> SaveState() const = 0;
    virtual void LoadState(const uint8_t* data, size_t size) = 0;

    // Starts a run on a format that passed the common checks; returns the codec's stream code.
    virtual uint32_t StartRun(const MxVideoFormat& format) = 0;
    // Compresses one input frame and fills the output fields of `frame` (no bytes when held).
    virtual void EncodeFrame(MxCompressFrame& frame) = 0;
    // Returns one held frame; false when none is left.
    virtual bool DrainFrame(MxCompressFrame& frame) = 0;
    // Ends a run whose frames were all drained (saves a first pass's statistics, checks a second
    // pass's count).
    virtual void FinishRun() = 0;
    // Drops a run that failed or was not finished, keeping nothing it wrote.
    virtual void AbandonRun() noexcept = 0;

  private:
    enum class Phase { Idle, Running, Drained, Ended };

    intptr_t Dispatch(uint32_t message, intptr_t p1, intptr_t p2);
    intptr_t GetState(intptr_t buffer, intptr_t capacity);
    intptr_t SetState(intptr_t buffer, intptr_t size);
    intptr_t Begin(const MxVideoFormat* format, MxStreamFormat* stream);
    intptr_t Compress(MxCompressFrame* frame, bool flush);
    intptr_t End();
    intptr_t ErrorText(char* buffer, intptr_t capacity) const;
    void RequireRun(const char* what) const;
    void CheckFrame(const MxCompressFrame* frame, bool flush) const;

    Phase phase_ = Phase::Idle;
    MxVideoFormat format_{};
    std::string error_;
};

// Throws CodecError(MXICERR_BADFORMAT) naming what a format lacks; also the check of QUERY.
void CheckVideoFormat(const MxVideoFormat* format);

}  // namespace mxcodec
