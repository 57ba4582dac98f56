#pragma once
// What the queue worker and the window need of an encoder run: made from a settings record
// (which it copies) and not yet running, started, waited for, destroyed after its end.
#include <cstdint>
#include <functional>
#include <memory>

#include "jobs/UiBridge.h"
#include "jobs/globals.h"

class IJobRun {
  public:
    virtual ~IJobRun() = default;
    virtual void Start() = 0;
    // Blocks without time limit until the run's thread has ended.
    virtual void WaitFor() = 0;
};

// `abortBaseline` is RunState().AbortCount as it stood when the queue run began: any "Abort"
// counted after it aborts the run, even one that came before the run had started.
using TRunFactory =
    std::function<std::unique_ptr<IJobRun>(const TEncRecord& settings, uint32_t abortBaseline)>;

// A preview run on the settings under edit: started at once and never waited for by the window;
// it sets Idle and refreshes the buttons through the bridge when it ends.
class IPreviewRun {
  public:
    virtual ~IPreviewRun() = default;
    virtual void Start() = 0;
    virtual bool Finished() const = 0;
    virtual void WaitFor() = 0;
};

using TPreviewFactory =
    std::function<std::unique_ptr<IPreviewRun>(const TEncRecord& settings, IUiBridge& ui)>;
