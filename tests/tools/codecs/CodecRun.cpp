#include "CodecRun.h"

#include <cstdio>
#include <memory>

namespace codec_testing {

namespace {

struct FileCloser {
    void operator()(FILE* f) const {
        if (f) std::fclose(f);
    }
};
using File = std::unique_ptr<FILE, FileCloser>;

// Records a failed message and says whether it failed.
bool Failed(const Codec& codec, intptr_t code, CodecResult& result) {
    if (code >= 0) return false;
    result.code = code;
    result.error = codec.ErrorText();
    return true;
}

void Keep(const MxCompressFrame& frame, FILE* out, CodecResult& result) {
    if (frame.outputBytes == 0) return;
    result.frames.push_back({frame.outputBytes, (frame.flags & MXFRAME_KEY) != 0, frame.frameType});
    result.bytes += frame.outputBytes;
    if (out) std::fwrite(frame.output, 1, frame.outputBytes, out);
}

}  // namespace

Codec::Codec(const std::string& handler)
    : hic_(ICOpen(ICTYPE_VIDEO, StringToFourCC(handler, true), 0, &whyNot_)) {}

std::vector<uint8_t> Codec::State() const {
    const intptr_t size = Send(ICM_GETSTATE, 0, 0);
    if (size <= 0) return {};
    std::vector<uint8_t> state(size_t(size), 0);
    if (Send(ICM_GETSTATE, reinterpret_cast<intptr_t>(state.data()), size) != size) return {};
    return state;
}

intptr_t Codec::SetState(const std::vector<uint8_t>& state) {
    return Send(ICM_SETSTATE, reinterpret_cast<intptr_t>(state.data()), intptr_t(state.size()));
}

intptr_t Codec::Send(uint32_t message, intptr_t p1, intptr_t p2) const {
    return ICSendMessage(hic_, message, p1, p2);
}

std::string Codec::ErrorText() const {
    char text[1024] = {};
    Send(MXICM_GETERRORTEXT, reinterpret_cast<intptr_t>(text), sizeof(text));
    return text;
}

CodecResult Compress(const Codec& codec, const std::string& yuv, const ClipFormat& clip,
                     const std::string& m4v) {
    CodecResult result;
    MxVideoFormat format{sizeof(MxVideoFormat),
                         clip.width,
                         clip.height,
                         clip.rateNum,
                         clip.rateDen,
                         MX_PIXELS_YUV420,
                         clip.announce ? clip.frames : 0};
    MxStreamFormat stream{};
    stream.size = sizeof(stream);
    if (Failed(codec,
               codec.Send(MXICM_COMPRESS_BEGIN, reinterpret_cast<intptr_t>(&format),
                          reinterpret_cast<intptr_t>(&stream)),
               result)) {
        return result;
    }
    result.fourcc = stream.fourcc;
    File in(std::fopen(yuv.c_str(), "rb"));
    File out(m4v.empty() ? nullptr : std::fopen(m4v.c_str(), "wb"));
    const size_t luma = size_t(clip.width) * size_t(clip.height);
    std::vector<uint8_t> picture(luma * 3 / 2), output(stream.maxFrameBytes);
    MxCompressFrame frame{};
    frame.size = sizeof(frame);
    frame.planes[0] = picture.data();
    frame.planes[1] = picture.data() + luma;
    frame.planes[2] = picture.data() + luma + luma / 4;
    frame.strides[0] = clip.width;
    frame.strides[1] = frame.strides[2] = clip.width / 2;
    frame.output = output.data();
    frame.outputCapacity = uint32_t(output.size());
    for (int i = 0; i < clip.frames; ++i) {
        if (!in || std::fread(picture.data(), 1, picture.size(), in.get()) != picture.size()) {
            result.code = -1000;
            result.error = "cannot read frame " + std::to_string(i) + " of " + yuv;
            return result;
        }
        if (Failed(codec, codec.Send(MXICM_COMPRESS, reinterpret_cast<intptr_t>(&frame)), result))
            return result;
        Keep(frame, out.get(), result);
    }
    do {
        if (Failed(codec, codec.Send(MXICM_COMPRESS_FLUSH, reinterpret_cast<intptr_t>(&frame)),
                   result))
            return result;
        Keep(frame, out.get(), result);
    } while (!(frame.flags & MXFRAME_DONE));
    Failed(codec, codec.Send(MXICM_COMPRESS_END), result);
    return result;
}

}  // namespace codec_testing
