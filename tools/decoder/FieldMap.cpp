#include "FieldMap.h"

namespace decoder {
namespace {

struct Field {
    int picture;
    bool top;
};

// The fields in the order a display shows them: each picture's first field (the top one when
// top_field_first is set), its second, and the first once more when repeat_first_field says so.
std::vector<Field> FieldSequence(const PictureTable& pictures, bool progressiveSequence) {
    std::vector<Field> fields;
    fields.reserve(static_cast<size_t>(pictures.Count()) * 5 / 2);
    for (int d = 0; d < pictures.Count(); ++d) {
        const media::IndexPicture flags = pictures.Flags(d);
        const int picture = pictures.Served(d);
        const bool topFirst = flags.TopFieldFirst();
        int count = flags.RepeatFirstField() ? 3 : 2;
        if (progressiveSequence) count = flags.RepeatFirstField() ? (topFirst ? 6 : 4) : 2;
        for (int i = 0; i < count; ++i) fields.push_back({picture, (i % 2 == 0) == topFirst});
    }
    return fields;
}

// Pairs the fields into frames from `start` on. Two fields of one parity in a row (the cadence
// broken at a splice) cannot be woven: the first of them is passed over, so the pairs after it
// stay right. A field left over at the end is dropped (it repeats one already shown), or with
// `keepLast` served with its own picture's other field.
std::vector<FrameFields> PairFields(const std::vector<Field>& fields, size_t start, bool keepLast) {
    std::vector<FrameFields> frames;
    frames.reserve(fields.size() / 2 + 1);
    size_t i = start;
    while (i + 1 < fields.size()) {
        const Field& a = fields[i];
        const Field& b = fields[i + 1];
        if (a.top == b.top) {
            ++i;
            continue;
        }
        frames.push_back({a.top ? a.picture : b.picture, a.top ? b.picture : a.picture, a.top});
        i += 2;
    }
    if (keepLast && i < fields.size())
        frames.push_back({fields[i].picture, fields[i].picture, fields[i].top});
    return frames;
}

}  // namespace

std::vector<FrameFields> MapFrames(const PictureTable& pictures, FieldOperation operation,
                                   bool progressiveSequence) {
    if (operation == FieldOperation::None)
        return PairFields(FieldSequence(pictures, progressiveSequence), 0, false);
    // The swapped order starts with the first picture's second field; its last frame is the
    // last picture whole, so the count stays that of the plain order.
    if (operation == FieldOperation::SwapOrder)
        return PairFields(FieldSequence(pictures, progressiveSequence), 1, true);
    std::vector<FrameFields> frames;
    frames.reserve(static_cast<size_t>(pictures.Count()));
    for (int d = 0; d < pictures.Count(); ++d) {
        const int picture = pictures.Served(d);
        frames.push_back({picture, picture, pictures.Flags(d).TopFieldFirst()});
    }
    return frames;
}

}  // namespace decoder
