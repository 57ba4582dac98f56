#pragma once
// Ctrl+C (and a termination request) while jobs run: the terminal's "Abort". The signals are
// taken by a thread of their own, so that the abort runs as ordinary code and not in a signal
// handler. Made before any other thread, so that every later thread leaves the signals to it.
#include <atomic>
#include <thread>

#include "util/LineSink.h"

class TInterruptWatcher {
  public:
    explicit TInterruptWatcher(ILineSink& err);
    ~TInterruptWatcher();
    TInterruptWatcher(const TInterruptWatcher&) = delete;
    TInterruptWatcher& operator=(const TInterruptWatcher&) = delete;

    bool Interrupted() const { return interrupted_.load(); }

  private:
    void Watch();

    ILineSink& err_;
    std::atomic<bool> interrupted_{false};
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};
