#include "ServedFrames.h"

#include <stdexcept>

namespace jobrunner {

ServedFrames::ServedFrames(fsclient::ClipScript& script, int first, int count, size_t ahead)
    : script_(script), ahead_(ahead < 1 ? 1 : ahead) {
    thread_ = std::thread([this, first, count] { Serve(first, count); });
}

ServedFrames::~ServedFrames() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void ServedFrames::Serve(int first, int count) {
    for (int n = first; n < first + count; ++n) {
        {
            std::unique_lock lock(mutex_);
            changed_.wait(lock, [&] { return stopping_ || frames_.size() < ahead_; });
            if (stopping_) break;
        }
        std::string error;
        fsclient::FramePtr frame = script_.Frame(n, error);
        std::lock_guard lock(mutex_);
        if (!frame) {
            error_ = error;
            break;
        }
        frames_.push_back(std::move(frame));
        changed_.notify_all();
    }
    std::lock_guard lock(mutex_);
    finished_ = true;
    changed_.notify_all();
}

fsclient::FramePtr ServedFrames::Next() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return !frames_.empty() || finished_; });
    if (frames_.empty()) {
        if (!error_.empty()) throw std::runtime_error(error_);
        return nullptr;
    }
    fsclient::FramePtr frame = std::move(frames_.front());
    frames_.pop_front();
    changed_.notify_all();
    return frame;
}

}  // namespace jobrunner
