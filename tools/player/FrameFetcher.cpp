#include "FrameFetcher.h"

#include "FramePicture.h"

namespace player {

FrameFetcher::FrameFetcher(ClipScript& script, std::function<void()> onChange, int ahead)
    : script_(script),
      onChange_(std::move(onChange)),
      ahead_(ahead < 1 ? 1 : ahead),
      count_(script.Info().frame_count),
      thread_([this] { Run(); }) {}

FrameFetcher::~FrameFetcher() {
    Stop();
}

void FrameFetcher::Want(int first) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        first_ = first;
        std::erase_if(ready_, [this](const auto& entry) { return !Wanted(entry.first); });
        // A failure is forgotten once the window has moved on, so that coming back tries again.
        std::erase_if(failed_, [this](const auto& entry) { return !Wanted(entry.first); });
    }
    wake_.notify_one();
}

FrameFetcher::State FrameFetcher::Get(int n, QImage& picture, std::string& error) const {
    std::lock_guard<std::mutex> lock(mutex_);
    if (const auto ready = ready_.find(n); ready != ready_.end()) {
        picture = ready->second;
        return State::Ready;
    }
    if (const auto failed = failed_.find(n); failed != failed_.end()) {
        error = failed->second;
        return State::Failed;
    }
    return State::Pending;
}

void FrameFetcher::Stop() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stop_ = true;
    }
    wake_.notify_one();
    if (thread_.joinable()) thread_.join();
}

int FrameFetcher::NextMissing() const {
    for (int n = first_ < 0 ? 0 : first_; Wanted(n); ++n)
        if (!ready_.count(n) && !failed_.count(n)) return n;
    return -1;
}

void FrameFetcher::Run() {
    FramePicture converter;
    std::unique_lock<std::mutex> lock(mutex_);
    while (!stop_) {
        const int n = NextMissing();
        if (n < 0) {
            wake_.wait(lock);
            continue;
        }
        busy_ = true;
        lock.unlock();
        std::string error;
        QImage picture;
        if (FramePtr frame = script_.Frame(n, error)) {
            picture = converter.Convert(*frame);
            if (picture.isNull()) error = "frame " + std::to_string(n) + ": out of memory";
        }
        lock.lock();
        busy_ = false;
        if (stop_) break;
        // The window may have moved on while the frame was read.
        if (!Wanted(n)) continue;
        if (error.empty())
            ready_[n] = std::move(picture);
        else
            failed_[n] = error;
        lock.unlock();
        onChange_();
        lock.lock();
    }
}

}  // namespace player
