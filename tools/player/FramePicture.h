#pragma once
// A served frame (8-bit planar YUV 4:2:0) as a picture to paint or save: libswscale converts it
// with the BT.601 studio-range matrix that DVD video is made with. One converter per thread.
#include <QImage>

#include "frameserver_host.h"

struct SwsContext;

namespace player {

class FramePicture {
  public:
    FramePicture() = default;
    ~FramePicture();
    FramePicture(const FramePicture&) = delete;
    FramePicture& operator=(const FramePicture&) = delete;

    // The frame at its own size, as 32-bit RGB; a null image when memory runs out.
    QImage Convert(const FsFrame& frame);

  private:
    SwsContext* context_ = nullptr;
};

}  // namespace player
