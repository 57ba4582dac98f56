#include "VideoTiming.h"

#include <cmath>
#include <vector>

namespace indexer {
namespace {

std::vector<media::IndexPicture> CodedPictures(const media::VideoIndex& index) {
    std::vector<media::IndexPicture> pictures;
    for (const media::IndexEntry& entry : index.entries)
        pictures.insert(pictures.end(), entry.pictures.begin(), entry.pictures.end());
    return pictures;
}

// Display time of one picture in fields (half frame periods).
int Fields(const media::IndexPicture& picture, const media::VideoFormat& format) {
    if (picture.flags & media::IndexPicture::kSingleField) return 1;
    if (!picture.RepeatFirstField()) return 2;
    if (!format.progressiveSequence) return 3;
    return picture.TopFieldFirst() ? 6 : 4;  // the frame is shown three or two times
}

}  // namespace

double FilmPercent(const media::VideoIndex& index) {
    const std::vector<media::IndexPicture> coded = CodedPictures(index);
    const std::vector<int64_t> order = media::DisplayOrder(index);
    const auto at = [&](size_t d) { return coded[static_cast<size_t>(order[d])]; };
    const auto pulled = [&](size_t d) {
        return at(d).ProgressiveFrame() && at(d).RepeatFirstField();
    };
    int64_t film = 0;
    for (size_t d = 0; d < order.size(); ++d) {
        if (!at(d).ProgressiveFrame()) continue;
        if (pulled(d) || (d > 0 && pulled(d - 1)) || (d + 1 < order.size() && pulled(d + 1)))
            ++film;
    }
    return order.empty() ? 0.0
                         : 100.0 * static_cast<double>(film) / static_cast<double>(order.size());
}

std::optional<int64_t> FirstShownTime(const media::VideoIndex& index) {
    int64_t coded = 0;
    const media::IndexEntry* timed = nullptr;
    for (const media::IndexEntry& entry : index.entries) {
        if (entry.pts >= 0 && !entry.pictures.empty()) {
            timed = &entry;
            break;
        }
        coded += static_cast<int64_t>(entry.pictures.size());
    }
    const media::Rational rate = media::FrameRateOf(index.format.frameRateCode);
    if (!timed || rate.num == 0) return std::nullopt;
    const std::vector<media::IndexPicture> pictures = CodedPictures(index);
    const std::vector<int64_t> order = media::DisplayOrder(index);
    int64_t fieldsBefore = 0;
    for (const int64_t shown : order) {
        if (shown == coded) break;
        fieldsBefore += Fields(pictures[static_cast<size_t>(shown)], index.format);
    }
    const double fieldTicks = 90000.0 * rate.den / (2.0 * rate.num);
    return timed->pts - std::llround(static_cast<double>(fieldsBefore) * fieldTicks);
}

int32_t DelayMilliseconds(int64_t audioPts, int64_t videoPts) {
    constexpr int64_t kWrap = int64_t{1} << 33;
    int64_t ticks = (audioPts - videoPts) % kWrap;
    if (ticks >= kWrap / 2) ticks -= kWrap;
    if (ticks < -kWrap / 2) ticks += kWrap;
    return static_cast<int32_t>(std::nearbyint(static_cast<double>(ticks) / 90.0));
}

}  // namespace indexer
