// The subtitle filter's subpicture path on arbitrary bytes: the unit goes through libavcodec's
// DVD subpicture decoder and whatever comes out is drawn into a frame whose size, and the size of
// the picture the subpictures are placed on, come from the first four bytes. A damaged unit is
// refused or drawn inside the frame, never read or written past.
// clang-format off
// fuzz-sources: tools/filters/vsfilter/Subpicture.cpp tools/filters/vsfilter/Overlay.cpp tools/filters/common/FilterKit.cpp
// fuzz-includes: tools/filters tools/frameserver
// fuzz-libs: avcodec avutil
// clang-format on
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "vsfilter/Overlay.h"
#include "vsfilter/Subpicture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 4) return 0;
    const int width = 2 + data[0] / 2 * 2, height = 2 + data[1] / 2 * 2;
    const subrender::Canvas canvas{data[2] * 4, data[3] * 4, data[2] % 7, data[3] % 5};
    static const std::array<uint32_t, 16> palette = {0x000000, 0xffffff, 0x808080, 0xffff00};
    subrender::SubpictureDecoder decoder(&palette, 100);
    std::string problem;
    const auto sub = decoder.Decode(std::vector<uint8_t>(data + 4, data + size), problem);
    if (!sub) return problem.empty() ? (std::abort(), 0) : 0;
    for (const subrender::Bitmap& b : sub->bitmaps)
        if (b.luma.size() != size_t(b.width) * size_t(b.height) || b.alpha.size() != b.luma.size())
            std::abort();
    fsrv::Frame frame(width, height);
    subrender::DrawSubpicture(frame, *sub, canvas);
    return 0;
}
