#pragma once
// Which pictures make each frame that mpeg2source serves, worked out from the index alone: the
// display order, the field operation and each picture's field flags. A frame is woven from a
// top field and a bottom field; both come from one picture unless pulldown or the swapped field
// order pairs fields of two pictures.
#include <vector>

#include "PictureTable.h"

namespace decoder {

// The index's Field_Operation values.
enum class FieldOperation {
    None = 0,        // fields as a player shows them: repeat_first_field applied
    ForcedFilm = 1,  // every picture once as the frame it is, repeat flags ignored
    SwapOrder = 2,   // as None, with fields paired one field later
    RawFrames = 3,   // every picture once, at the coded rate
};

// One frame served: the pictures (display numbers, already put through Served()) that give its
// top and bottom lines, and whether its top field comes first.
struct FrameFields {
    int top = 0;
    int bottom = 0;
    bool topFirst = false;
    bool operator==(const FrameFields&) const = default;
};

// `progressiveSequence`: repeat_first_field then repeats whole frames (twice, or three times
// with top_field_first) instead of one field.
std::vector<FrameFields> MapFrames(const PictureTable& pictures, FieldOperation operation,
                                   bool progressiveSequence);

}  // namespace decoder
