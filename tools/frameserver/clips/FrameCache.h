#pragma once
// The frames recently served by the clips of one script, up to a memory budget, least recently
// used first out. Every clip a function returns is wrapped in a CacheClip, so a temporal filter
// that reads n-1, n and n+1 decodes each source frame once.
#include <cstdint>
#include <list>
#include <memory>
#include <mutex>
#include <unordered_map>

#include "frameserver_plugin.h"

namespace fsrv {

class FrameCache {
  public:
    explicit FrameCache(size_t budgetBytes) : budget_(budgetBytes) {}
    void SetBudget(size_t bytes);
    uint32_t NewClipId();
    FramePtr Find(uint32_t clip, int n);
    void Insert(uint32_t clip, int n, FramePtr frame);
    size_t UsedBytes() const;

  private:
    struct Entry {
        uint64_t key;
        FramePtr frame;
        size_t bytes;
    };
    void Evict();

    mutable std::mutex mutex_;  // the graph is single-threaded; the lock keeps the cache honest
    size_t budget_;
    size_t used_ = 0;
    uint32_t nextId_ = 0;
    std::list<Entry> lru_;  // most recent first
    std::unordered_map<uint64_t, std::list<Entry>::iterator> index_;
};

// `clip` with its frames kept in `cache`.
ClipPtr CachedClip(ClipPtr clip, std::shared_ptr<FrameCache> cache);

}  // namespace fsrv
