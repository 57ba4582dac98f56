#include "VideoCodec.h"

#include <cctype>
#include <stdexcept>

namespace jobrunner {

namespace {

uint32_t Capitals(uint32_t code) {
    uint32_t out = 0;
    for (int i = 0; i < 4; ++i)
        out |= uint32_t(std::toupper(int((code >> (8 * i)) & 0xFF))) << (8 * i);
    return out;
}

}  // namespace

VideoCodec::VideoCodec(uint32_t handler, const std::optional<std::vector<uint8_t>>& state,
                       const std::string& where) {
    const uint32_t code = Capitals(handler);
    name_ = "the codec " + platform::FourCCText(code) + " (" + where + ")";
    std::string why;
    driver_ = platform::CodecDriver::Open(MxFourCC('v', 'i', 'd', 'c'), code, why);
    if (!driver_)
        throw std::runtime_error(where + ": no codec for the code \"" +
                                 platform::FourCCText(handler) + "\": " + why);
    if (!state) return;
    const intptr_t taken =
        driver_->Send(MXICM_SETSTATE, intptr_t(state->data()), intptr_t(state->size()));
    if (taken != intptr_t(state->size())) {
        const std::string text = driver_->ErrorText();
        throw std::runtime_error(name_ + " refuses the state of SetCompData" +
                                 (text.empty() ? "" : ": " + text));
    }
}

VideoCodec::~VideoCodec() = default;  // closing the instance ends a run that is still going

void VideoCodec::Check(intptr_t result, const char* step) const {
    if (result >= 0) return;
    const std::string text = driver_->ErrorText();
    throw std::runtime_error(name_ + " fails to " + step + " (" + std::to_string(result) + ")" +
                             (text.empty() ? "" : ": " + text));
}

MxStreamFormat VideoCodec::Begin(int width, int height, uint32_t rateNum, uint32_t rateDen,
                                 int frames) {
    MxVideoFormat in{};
    in.size = sizeof in;
    in.width = width;
    in.height = height;
    in.rateNum = rateNum;
    in.rateDen = rateDen;
    in.pixels = MX_PIXELS_YUV420;
    in.frameCount = frames;
    MxStreamFormat out{};
    out.size = sizeof out;
    Check(driver_->Send(MXICM_COMPRESS_BEGIN, intptr_t(&in), intptr_t(&out)), "begin");
    output_.resize(out.maxFrameBytes);
    return out;
}

void VideoCodec::Compress(const FsFrame& frame) {
    result_ = MxCompressFrame{};
    result_.size = sizeof result_;
    for (int p = 0; p < 3; ++p) {
        result_.planes[p] = frame.data[p];
        result_.strides[p] = frame.pitch[p];
    }
    result_.output = output_.data();
    result_.outputCapacity = uint32_t(output_.size());
    Check(driver_->Send(MXICM_COMPRESS, intptr_t(&result_), 0), "compress a frame");
}

bool VideoCodec::Flush() {
    result_ = MxCompressFrame{};
    result_.size = sizeof result_;
    result_.output = output_.data();
    result_.outputCapacity = uint32_t(output_.size());
    Check(driver_->Send(MXICM_COMPRESS_FLUSH, intptr_t(&result_), 0), "give its last frames");
    return (result_.flags & MXFRAME_DONE) == 0;
}

void VideoCodec::End() {
    Check(driver_->Send(MXICM_COMPRESS_END, 0, 0), "end its run");
}

}  // namespace jobrunner
