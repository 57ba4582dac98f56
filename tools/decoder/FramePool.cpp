#include "FramePool.h"

namespace decoder {

FramePool::~FramePool() {
    for (fsrv::Frame* frame : free_) delete frame;
}

std::shared_ptr<fsrv::Frame> FramePool::Get() {
    fsrv::Frame* frame = nullptr;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!free_.empty()) {
            frame = free_.back();
            free_.pop_back();
        }
    }
    if (!frame) frame = new fsrv::Frame(width_, height_);
    return std::shared_ptr<fsrv::Frame>(
        frame, [pool = shared_from_this()](fsrv::Frame* f) { pool->Put(f); });
}

void FramePool::Put(fsrv::Frame* frame) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (free_.size() < kMaxFree) {
            free_.push_back(frame);
            return;
        }
    }
    delete frame;
}

}  // namespace decoder
