#pragma once
// Frames of one size for the decoder to write into. A frame whose last user lets it go comes
// back here and takes the next picture, instead of going back to the allocator, which would hand
// out fresh pages that fault in on every picture. Frames may be let go on any thread and after
// the source is gone: each keeps the pool alive.
#include <memory>
#include <mutex>
#include <vector>

#include "frameserver_plugin.h"

namespace decoder {

class FramePool : public std::enable_shared_from_this<FramePool> {
  public:
    // Frames kept for reuse at most; the frame server's cache holds the rest of those in use.
    static constexpr size_t kMaxFree = 16;

    static std::shared_ptr<FramePool> Make(int width, int height) {
        return std::shared_ptr<FramePool>(new FramePool(width, height));
    }
    ~FramePool();

    // A frame to write into, then to hand on as a FramePtr.
    std::shared_ptr<fsrv::Frame> Get();
    int Width() const { return width_; }
    int Height() const { return height_; }

  private:
    FramePool(int width, int height) : width_(width), height_(height) {}
    void Put(fsrv::Frame* frame);

    int width_, height_;
    std::mutex mutex_;
    std::vector<fsrv::Frame*> free_;
};

}  // namespace decoder
