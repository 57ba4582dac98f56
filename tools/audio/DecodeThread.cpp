#include "DecodeThread.h"

#include <utility>

namespace audio {
namespace {

// Blocks of about 40 ms at 48 kHz, and no more than eight of them waiting: a small, steady
// amount of memory whatever the length of the track.
constexpr size_t kBlockSamples = 2048;
constexpr size_t kMaxBlocks = 8;

}  // namespace

DecodeThread::DecodeThread(AudioSource& source, Mixer& mixer)
    : source_(source), mixer_(mixer), thread_([this] { Run(); }) {}

DecodeThread::~DecodeThread() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void DecodeThread::Run() {
    try {
        Pcm block;
        while (const AVFrame* frame = source_.Next()) {
            mixer_.Add(*frame, block);
            bytesRead_ = source_.BytesRead();
            if (block.Samples() >= kBlockSamples && !Push(std::exchange(block, Pcm{}))) return;
        }
        mixer_.Flush(block);
        if (block.Samples() > 0 && !Push(std::move(block))) return;
        Close(nullptr);
    } catch (...) {
        Close(std::current_exception());
    }
}

bool DecodeThread::Push(Pcm&& block) {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return stopping_ || blocks_.size() < kMaxBlocks; });
    if (stopping_) return false;
    blocks_.push_back(std::move(block));
    changed_.notify_all();
    return true;
}

void DecodeThread::Close(std::exception_ptr error) {
    std::lock_guard<std::mutex> lock(mutex_);
    closed_ = true;
    error_ = error;
    changed_.notify_all();
}

std::optional<Pcm> DecodeThread::Next() {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return closed_ || !blocks_.empty(); });
    if (!blocks_.empty()) {
        Pcm block = std::move(blocks_.front());
        blocks_.pop_front();
        changed_.notify_all();
        return block;
    }
    if (error_) std::rethrow_exception(error_);
    return std::nullopt;
}

}  // namespace audio
