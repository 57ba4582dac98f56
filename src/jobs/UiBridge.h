#pragma once
// What the queue worker and the runs need of the main window, without the toolkit. Every call may
// come from any thread; an implementation carries it out on the window thread (a queued call)
// and keeps the order of the calls.
#include "jobs/JobProgress.h"

// ShowProgress: the running job's progress bar (queued like the rest, never waited for).
class IUiBridge : public IProgressSink {
  public:
    virtual ~IUiBridge() = default;
    // Applies the enabling rules of the window's buttons to the current state.
    virtual void UpdateButtons() = 0;
    // The worker changed the queue (an entry was greyed or removed); the list shows it again.
    virtual void QueueChanged() = 0;
    // The state of the "Shutdown when done" check box, read when a queue run ends.
    virtual bool ShutdownWhenDone() const = 0;
};
