#include "Mpeg2Source.h"

#include <algorithm>
#include <cstring>
#include <numeric>

#include "media/MediaError.h"
#include "platform/files.h"

namespace decoder {
namespace {

// An index of a four-hour film is a few megabytes; anything much larger is some other file.
constexpr int64_t kMaxIndexBytes = int64_t(64) << 20;
// Frame numbers are ints and pulldown adds a quarter.
constexpr int64_t kMaxPictures = int64_t(1) << 28;
constexpr int kMaxSide = 4096;

// Rows of two pictures interleaved: even rows (the top field) from `top`, odd from `bottom`.
fsrv::FramePtr Weave(const fsrv::Frame& top, const fsrv::Frame& bottom, FramePool& pool) {
    std::shared_ptr<fsrv::Frame> frame = pool.Get();
    for (int p = 0; p < 3; ++p)
        for (int y = 0; y < frame->Height(p); ++y) {
            const fsrv::Frame& from = y % 2 ? bottom : top;
            std::memcpy(frame->Data(p) + size_t(y) * frame->Pitch(p),
                        from.Data(p) + size_t(y) * from.Pitch(p), size_t(frame->Width(p)));
        }
    return frame;
}

}  // namespace

FrameRate FrameRateOf(int perThousandSeconds) {
    switch (perThousandSeconds) {
        case 23976:
            return {24000, 1001};
        case 29970:
            return {30000, 1001};
        case 59940:
            return {60000, 1001};
        default: {
            const unsigned rate = static_cast<unsigned>(perThousandSeconds);
            const unsigned divisor = std::gcd(rate, 1000u);
            return {rate / divisor, 1000 / divisor};
        }
    }
}

media::IndexFile ReadServableIndex(const std::string& path) {
    const auto fail = [&path](const std::string& what) {
        throw fsrv::Error("mpeg2source: the index " + path + " " + what);
    };
    const int64_t size = platform::FileSize(path);
    if (size < 0) fail("cannot be read (it is missing, a folder or not readable)");
    if (size > kMaxIndexBytes) fail("is too large to be an index");
    std::string text;
    if (!platform::ReadFileText(path, text)) fail("cannot be read");
    media::IndexFile index;
    try {
        index = media::ParseIndexText(text, path);
    } catch (const media::MediaError& e) {
        throw fsrv::Error(std::string("mpeg2source: ") + e.what());
    }
    const media::VideoFormat& f = index.video.format;
    const std::string sizeText = std::to_string(f.width) + "x" + std::to_string(f.height);
    if (index.video.PictureCount() == 0) fail("lists no pictures");
    if (index.video.PictureCount() > kMaxPictures) fail("lists more pictures than can be served");
    if (f.width <= 0 || f.height <= 0 || f.width % 2 || f.height % 2 || f.width > kMaxSide ||
        f.height > kMaxSide)
        fail("gives the picture size " + sizeText + ", which cannot be served as 4:2:0");
    if (f.chromaFormat != 1) fail("is of 4:2:2 or 4:4:4 video; only 4:2:0 is served");
    if (index.fieldOperation < 0 || index.fieldOperation > 3)
        fail("has Field_Operation=" + std::to_string(index.fieldOperation) + ", none of 0-3");
    if (index.frameRate <= 0) fail("gives no frame rate");
    return index;
}

Mpeg2Source::Mpeg2Source(const std::string& indexPath)
    : index_(ReadServableIndex(indexPath)),
      table_(index_.video),
      frames_(MapFrames(table_, static_cast<FieldOperation>(index_.fieldOperation),
                        index_.video.format.progressiveSequence)),
      pool_(FramePool::Make(index_.video.format.width, index_.video.format.height)),
      pictures_(indexPath, index_, table_, pool_, warnings_) {
    info_.width = index_.video.format.width;
    info_.height = index_.video.format.height;
    const FrameRate rate = FrameRateOf(index_.frameRate);
    info_.fpsNumerator = rate.numerator;
    info_.fpsDenominator = rate.denominator;
    info_.frameCount = static_cast<int>(frames_.size());
}

fsrv::FramePtr Mpeg2Source::GetFrame(int n) {
    const FrameFields& f = frames_[Clamp(n)];
    if (f.bottom == f.top) return pictures_.Picture(f.top);
    // The earlier picture first, so that serving in order decodes on from one to the other.
    fsrv::FramePtr first = pictures_.Picture(std::min(f.top, f.bottom));
    fsrv::FramePtr second = pictures_.Picture(std::max(f.top, f.bottom));
    if (first == second) return first;
    return f.top < f.bottom ? Weave(*first, *second, *pool_) : Weave(*second, *first, *pool_);
}

}  // namespace decoder
