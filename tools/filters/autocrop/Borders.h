#pragma once
// The arithmetic of automatic cropping: how wide the black borders of a frame are, and which
// rectangle is left once they are gone, sized to multiples and, when asked, to an exact shape.
#include "frameserver_plugin.h"

namespace autocrop {

struct Borders {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool blank = false;  // nothing but black: the frame tells nothing about the borders
};

// A line (row or column) belongs to a border when no more than 1 in 50 of its luma pixels is
// brighter than `threshold`; each border is the run of such lines from its edge.
Borders MeasureBorders(const fsrv::Frame& frame, int threshold);

// The narrowest border of each side over several frames (blank ones left out): a border must be
// black in every frame that shows a picture.
Borders Narrowest(const Borders& a, const Borders& b);

struct Rect {
    int left = 0, top = 0, width = 0, height = 0;
};

// The picture inside the borders of a width x height frame, with even edges, and its width and
// height cut to multiples of wmult and hmult (even numbers), the cut shared by both sides.
Rect PictureRect(const Borders& borders, int width, int height, int wmult, int hmult);

// The centred part of `picture` whose width/height is as near `aspect` as the multiples allow:
// the longer side is cut, the other kept.
Rect ShapeRect(const Rect& picture, double aspect, int wmult, int hmult);

}  // namespace autocrop
