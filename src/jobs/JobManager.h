#pragma once
// The queue worker: one per press of "Start". It runs the ticked entries from the top, one encoder
// run at a time, removes each entry after its run whatever the outcome, and stops when nothing is
// ticked any more or the user aborted. At the end it may power the computer off.
#include <atomic>
#include <cstdint>
#include <functional>
#include <thread>

#include "jobs/JobQueue.h"
#include "jobs/JobRun.h"
#include "jobs/UiBridge.h"

class TJobManager {
  public:
    using TPowerOff = std::function<void()>;

    // `makeRun` builds a run in normal mode for a job's settings; `powerOff` ends the program
    // with the computer (ShutdownWindows unless a test gives another).
    TJobManager(TJobQueue& queue, IUiBridge& ui, TRunFactory makeRun, TPowerOff powerOff = {});
    // Waits for the worker's end.
    ~TJobManager();
    TJobManager(const TJobManager&) = delete;
    TJobManager& operator=(const TJobManager&) = delete;

    void Start();
    void WaitFor();
    // True once the worker has ended (or before it was started). The window keeps a worker until
    // then rather than wait for it.
    bool Finished() const { return finished_.load(); }

  private:
    void Execute();
    bool Aborted() const;
    void RunOne(const TQueuedJob& job);

    TJobQueue& queue_;
    IUiBridge& ui_;
    TRunFactory makeRun_;
    TPowerOff powerOff_;
    uint32_t abortCountAtStart_ = 0;
    std::atomic<bool> finished_{true};
    std::thread thread_;
};
