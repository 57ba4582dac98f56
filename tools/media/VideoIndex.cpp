#include "media/VideoIndex.h"

namespace media {

int64_t VideoIndex::PictureCount() const {
    int64_t count = 0;
    for (const IndexEntry& entry : entries) count += static_cast<int64_t>(entry.pictures.size());
    return count;
}

std::vector<int64_t> DisplayOrder(const VideoIndex& index) {
    std::vector<int64_t> order;
    order.reserve(static_cast<size_t>(index.PictureCount()));
    int64_t coded = 0, held = -1;
    for (const IndexEntry& entry : index.entries) {
        for (const IndexPicture& picture : entry.pictures) {
            if (picture.IsB()) {
                order.push_back(coded++);
                continue;
            }
            if (held >= 0) order.push_back(held);
            held = coded++;
        }
    }
    if (held >= 0) order.push_back(held);
    return order;
}

std::string AspectText(int aspectCode) {
    switch (aspectCode) {
        case 1:
            return "1:1";
        case 2:
            return "4:3";
        case 3:
            return "16:9";
        case 4:
            return "2.21:1";
        default:
            return "unknown";
    }
}

}  // namespace media
