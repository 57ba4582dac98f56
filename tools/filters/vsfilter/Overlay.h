#pragma once
// Drawing subpicture bitmaps into a 4:2:0 frame.
//
// Subpictures are placed on the picture size their index gives (the DVD frame). The frame they
// are drawn into may be smaller (the movie script crops the borders first), so each bitmap keeps
// its size and its centre moves in proportion; a bitmap that would then stick out is pushed back
// inside, so a caption that sat in a border that was cropped away still shows whole.
#include "Subpicture.h"
#include "frameserver_plugin.h"

namespace subrender {

struct Canvas {
    int width = 0, height = 0;  // the size subpicture positions refer to
    int originX = 0, originY = 0;
};

void DrawSubpicture(fsrv::Frame& frame, const Subpicture& sub, const Canvas& canvas);

}  // namespace subrender
