#include "clips/FrameCache.h"

namespace fsrv {
namespace {

uint64_t Key(uint32_t clip, int n) {
    return uint64_t(clip) << 32 | uint32_t(n);
}

size_t Bytes(const Frame& f) {
    size_t bytes = 0;
    for (int p = 0; p < 3; ++p) bytes += size_t(f.Pitch(p)) * size_t(f.Height(p));
    return bytes;
}

class CacheClip final : public PassThroughClip {
  public:
    CacheClip(ClipPtr child, std::shared_ptr<FrameCache> cache)
        : PassThroughClip(std::move(child)), cache_(std::move(cache)), id_(cache_->NewClipId()) {}
    FramePtr GetFrame(int n) override {
        n = Clamp(n);
        if (FramePtr f = cache_->Find(id_, n)) return f;
        FramePtr f = child_->GetFrame(n);
        cache_->Insert(id_, n, f);
        return f;
    }

  private:
    std::shared_ptr<FrameCache> cache_;
    uint32_t id_;
};

}  // namespace

void FrameCache::SetBudget(size_t bytes) {
    std::lock_guard<std::mutex> lock(mutex_);
    budget_ = bytes;
    Evict();
}

uint32_t FrameCache::NewClipId() {
    std::lock_guard<std::mutex> lock(mutex_);
    return nextId_++;
}

FramePtr FrameCache::Find(uint32_t clip, int n) {
    std::lock_guard<std::mutex> lock(mutex_);
    const auto it = index_.find(Key(clip, n));
    if (it == index_.end()) return nullptr;
    lru_.splice(lru_.begin(), lru_, it->second);
    return it->second->frame;
}

void FrameCache::Insert(uint32_t clip, int n, FramePtr frame) {
    if (!frame) return;
    std::lock_guard<std::mutex> lock(mutex_);
    const uint64_t key = Key(clip, n);
    if (index_.count(key)) return;
    const size_t bytes = Bytes(*frame);
    lru_.push_front(Entry{key, std::move(frame), bytes});
    index_[key] = lru_.begin();
    used_ += bytes;
    Evict();
}

size_t FrameCache::UsedBytes() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return used_;
}

// The newest frame always stays, so a budget smaller than one frame still serves.
void FrameCache::Evict() {
    while (used_ > budget_ && lru_.size() > 1) {
        used_ -= lru_.back().bytes;
        index_.erase(lru_.back().key);
        lru_.pop_back();
    }
}

ClipPtr CachedClip(ClipPtr clip, std::shared_ptr<FrameCache> cache) {
    return std::make_shared<CacheClip>(std::move(clip), std::move(cache));
}

}  // namespace fsrv
