#pragma once
// Reads frames ahead of the window on a thread of its own, so that a slow filter chain never
// stalls painting or the keys: the window says which frame it wants next, the fetcher serves that
// one first and then the few after it, converted to pictures. A seek is just another wish;
// frames outside the wished range are dropped.
#include <QImage>
#include <atomic>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>

#include "FrameServer.h"

namespace player {

class FrameFetcher {
  public:
    enum class State { Pending, Ready, Failed };

    // Starts fetching from frame 0. `onChange` runs on the fetching thread each time a frame is
    // ready or has failed; it must only hand the news to the window's thread.
    FrameFetcher(ClipScript& script, std::function<void()> onChange, int ahead = 8);
    // Stop().
    ~FrameFetcher();
    FrameFetcher(const FrameFetcher&) = delete;
    FrameFetcher& operator=(const FrameFetcher&) = delete;

    // The window wants frame `first` next, and the `ahead` - 1 after it.
    void Want(int first);
    // Frame n: its picture when ready, the frame server's words when serving it failed.
    State Get(int n, QImage& picture, std::string& error) const;
    // Ends the thread once the frame it is reading is done; no onChange call follows, and the
    // script may be closed afterwards.
    void Stop();
    // The thread is inside a frame-server call.
    bool Busy() const { return busy_.load(); }

  private:
    void Run();
    bool Wanted(int n) const { return n >= first_ && n < first_ + ahead_ && n < count_; }
    // The first wanted frame neither ready nor failed; -1 when there is none. Under the lock.
    int NextMissing() const;

    ClipScript& script_;
    const std::function<void()> onChange_;
    const int ahead_;
    const int count_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    bool stop_ = false;
    int first_ = 0;
    std::map<int, QImage> ready_;
    std::map<int, std::string> failed_;
    std::atomic<bool> busy_{false};
    std::thread thread_;  // started last, once everything it reads exists
};

}  // namespace player
