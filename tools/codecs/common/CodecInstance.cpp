#include "common/CodecInstance.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <numeric>

#include "common/CodecError.h"

namespace mxcodec {

namespace {

// Large enough for any DVD picture and small enough that a frame's buffers stay reasonable.
constexpr int32_t kMinSide = 16;
constexpr int32_t kMaxSide = 4096;
// An MPEG-4 stream counts time in ticks of 1/rateNum second in a 16-bit field.
constexpr uint32_t kMaxTimeBase = 65535;

std::string Dimensions(int32_t width, int32_t height) {
    return std::to_string(width) + "x" + std::to_string(height);
}

void FormatError(const std::string& text) {
    throw CodecError(MXICERR_BADFORMAT, text);
}

}  // namespace

void CheckVideoFormat(const MxVideoFormat* format) {
    if (!format || format->size < sizeof(MxVideoFormat)) {
        throw CodecError(MXICERR_BADPARAM, "The input format is missing or too short");
    }
    if (format->pixels != MX_PIXELS_YUV420) {
        FormatError("The input is not planar YUV 4:2:0 (I420), the only pixel format taken");
    }
    const int32_t w = format->width, h = format->height;
    if (w < kMinSide || h < kMinSide || w > kMaxSide || h > kMaxSide) {
        FormatError("The frame size " + Dimensions(w, h) + " is outside " +
                    Dimensions(kMinSide, kMinSide) + " to " + Dimensions(kMaxSide, kMaxSide));
    }
    if (w % 2 != 0 || h % 2 != 0) {
        FormatError("The frame size " + Dimensions(w, h) +
                    " is odd: YUV 4:2:0 frames need an even width and height");
    }
    if (format->rateNum == 0 || format->rateDen == 0) {
        FormatError("The frame rate " + std::to_string(format->rateNum) + "/" +
                    std::to_string(format->rateDen) + " is not a rate");
    }
    const uint32_t common = std::gcd(format->rateNum, format->rateDen);
    if (format->rateNum / common > kMaxTimeBase || format->rateDen / common > kMaxTimeBase) {
        FormatError("The frame rate " + std::to_string(format->rateNum) + "/" +
                    std::to_string(format->rateDen) +
                    " needs a finer time base than an MPEG-4 stream has (at most 65535 ticks a "
                    "second)");
    }
    if (format->frameCount < 0) FormatError("The frame count is negative");
}

uint32_t CodecInstance::MaxFrameBytes(int32_t width, int32_t height) {
    // Intra blocks at the finest quantizer stay below six bytes a pixel; packed B-frames put two
    // frames into one, and the headers need a little room of their own.
    return uint32_t(width) * uint32_t(height) * 12u + (1u << 16);
}

intptr_t CodecInstance::Message(uint32_t message, intptr_t p1, intptr_t p2) noexcept {
    try {
        return Dispatch(message, p1, p2);
    } catch (const CodecError& e) {
        error_ = e.what();
        return e.Code();
    } catch (const std::bad_alloc&) {
        error_ = "Out of memory";
        return MXICERR_MEMORY;
    } catch (const std::exception& e) {
        error_ = e.what();
        return MXICERR_INTERNAL;
    } catch (...) {
        error_ = "Unexpected failure";
        return MXICERR_INTERNAL;
    }
}

intptr_t CodecInstance::Dispatch(uint32_t message, intptr_t p1, intptr_t p2) {
    switch (message) {
        case MXICM_GETSTATE:
            return GetState(p1, p2);
        case MXICM_SETSTATE:
            return SetState(p1, p2);
        case MXICM_COMPRESS_QUERY:
            CheckVideoFormat(reinterpret_cast<const MxVideoFormat*>(p1));
            return MXICERR_OK;
        case MXICM_COMPRESS_BEGIN:
            return Begin(reinterpret_cast<const MxVideoFormat*>(p1),
                         reinterpret_cast<MxStreamFormat*>(p2));
        case MXICM_COMPRESS:
            return Compress(reinterpret_cast<MxCompressFrame*>(p1), false);
        case MXICM_COMPRESS_FLUSH:
            return Compress(reinterpret_cast<MxCompressFrame*>(p1), true);
        case MXICM_COMPRESS_END:
            return End();
        case MXICM_GETERRORTEXT:
            return ErrorText(reinterpret_cast<char*>(p1), p2);
        default:
            return MXICERR_UNSUPPORTED;
    }
}

intptr_t CodecInstance::GetState(intptr_t buffer, intptr_t capacity) {
    const std::vector<uint8_t> state = SaveState();
    if (buffer == 0) return intptr_t(state.size());
    if (capacity < intptr_t(state.size())) {
        throw CodecError(MXICERR_BADPARAM, "The state buffer holds " + std::to_string(capacity) +
                                               " bytes; the state needs " +
                                               std::to_string(state.size()));
    }
    std::memcpy(reinterpret_cast<void*>(buffer), state.data(), state.size());
    return intptr_t(state.size());
}

intptr_t CodecInstance::SetState(intptr_t buffer, intptr_t size) {
    if (phase_ == Phase::Running || phase_ == Phase::Drained) {
        error_ = "The state cannot change during a run";
        return 0;
    }
    if (buffer == 0 || size <= 0) {
        error_ = "No state was given";
        return 0;
    }
    try {
        LoadState(reinterpret_cast<const uint8_t*>(buffer), size_t(size));
    } catch (const CodecError& e) {
        error_ = e.what();
        return 0;  // the host sees a refusal as 0 bytes taken
    }
    return size;
}

intptr_t CodecInstance::Begin(const MxVideoFormat* format, MxStreamFormat* stream) {
    if (phase_ == Phase::Running || phase_ == Phase::Drained) {
        throw CodecError(MXICERR_BADSTATE, "A run is already going: END it before the next BEGIN");
    }
    if (!stream || stream->size < sizeof(MxStreamFormat)) {
        throw CodecError(MXICERR_BADPARAM, "The stream format to fill is missing or too short");
    }
    CheckVideoFormat(format);
    const uint32_t fourcc = StartRun(*format);
    format_ = *format;
    phase_ = Phase::Running;
    stream->fourcc = fourcc;
    stream->width = format->width;
    stream->height = format->height;
    stream->maxFrameBytes = MaxFrameBytes(format->width, format->height);
    return MXICERR_OK;
}

void CodecInstance::RequireRun(const char* what) const {
    switch (phase_) {
        case Phase::Running:
            return;
        case Phase::Idle:
            throw CodecError(MXICERR_BADSTATE,
                             std::string(what) + " came before BEGIN started a run");
        case Phase::Drained:
            throw CodecError(MXICERR_BADSTATE,
                             std::string(what) + " came after FLUSH returned the last frame");
        case Phase::Ended:
            throw CodecError(MXICERR_BADSTATE,
                             std::string(what) + " came after the end of the run");
    }
}

void CodecInstance::CheckFrame(const MxCompressFrame* frame, bool flush) const {
    if (!frame || frame->size < sizeof(MxCompressFrame)) {
        throw CodecError(MXICERR_BADPARAM, "The frame structure is missing or too short");
    }
    const uint32_t needed = MaxFrameBytes(format_.width, format_.height);
    if (!frame->output || frame->outputCapacity < needed) {
        throw CodecError(MXICERR_BADPARAM,
                         "The output buffer holds " + std::to_string(frame->outputCapacity) +
                             " bytes; a frame may need " + std::to_string(needed));
    }
    if (flush) return;
    const int32_t widths[3] = {format_.width, format_.width / 2, format_.width / 2};
    for (int i = 0; i < 3; ++i) {
        if (!frame->planes[i] || frame->strides[i] < widths[i]) {
            throw CodecError(MXICERR_BADPARAM, "Plane " + std::to_string(i) +
                                                   " of the frame is missing or its stride is "
                                                   "shorter than a line");
        }
    }
}

intptr_t CodecInstance::Compress(MxCompressFrame* frame, bool flush) {
    RequireRun(flush ? "FLUSH" : "A frame");
    CheckFrame(frame, flush);
    frame->outputBytes = 0;
    frame->flags = 0;
    frame->frameType = 0;
    try {
        if (!flush) {
            EncodeFrame(*frame);
        } else if (!DrainFrame(*frame)) {
            frame->flags = MXFRAME_DONE;
            phase_ = Phase::Drained;
        }
    } catch (...) {
        AbandonRun();
        phase_ = Phase::Idle;
        throw;
    }
    return MXICERR_OK;
}

intptr_t CodecInstance::End() {
    if (phase_ == Phase::Idle || phase_ == Phase::Ended) {
        throw CodecError(MXICERR_BADSTATE, "END came without a run");
    }
    if (phase_ == Phase::Running) {
        AbandonRun();
        phase_ = Phase::Ended;
        throw CodecError(MXICERR_BADSTATE,
                         "END came before FLUSH returned the last frame; the run is dropped");
    }
    phase_ = Phase::Ended;
    try {
        FinishRun();
    } catch (...) {
        AbandonRun();
        throw;
    }
    return MXICERR_OK;
}

intptr_t CodecInstance::ErrorText(char* buffer, intptr_t capacity) const {
    if (buffer && capacity > 0) {
        const size_t n = std::min(error_.size(), size_t(capacity - 1));
        std::memcpy(buffer, error_.data(), n);
        buffer[n] = '\0';
    }
    return intptr_t(error_.size());
}

}  // namespace mxcodec
