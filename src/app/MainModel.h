#pragma once
// The main window without the toolkit: the four steps, the queue with its buttons, Start, Abort,
// Preview and the closing rule. The window binds its controls to this and shows its state after
// every call; the headless program drives the same object from its options.
#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/AdvancedSettings.h"
#include "app/Buttons.h"
#include "app/Dialogs.h"
#include "app/SizeOptions.h"
#include "app/TrackSelection.h"
#include "jobs/JobManager.h"
#include "jobs/JobQueue.h"
#include "jobs/JobRun.h"
#include "jobs/UiBridge.h"
#include "util/LineSink.h"

struct TMainModelLinks {
    IDialogs& Dialogs;
    IAdvancedSettings& Advanced;
    // Receives the worker's and the runs' calls from their threads (and carries them to the
    // window thread).
    IUiBridge& Bridge;
    // The log view's lines, handed to every job and preview.
    ILineSink& Log;
    // Applies the enabling rules at once, on the window thread.
    std::function<void()> UpdateButtons;
};

class TMainModel {
  public:
    explicit TMainModel(const TMainModelLinks& links);
    // Waits for runs still winding down after an abort, and for their worker.
    ~TMainModel();
    TMainModel(const TMainModel&) = delete;
    TMainModel& operator=(const TMainModel&) = delete;

    // Tests and the headless program put their own runs here.
    void SetRunFactory(TRunFactory factory) { runFactory_ = std::move(factory); }
    void SetPreviewFactory(TPreviewFactory factory) { previewFactory_ = std::move(factory); }
    void SetPowerOff(TJobManager::TPowerOff powerOff) { powerOff_ = std::move(powerOff); }

    TTrackSelection& Tracks() { return tracks_; }
    TJobQueue& Queue() { return queue_; }
    TSizeChoice Size;

    TButtonStates Buttons() const;

    // The action buttons; each does nothing while its button is disabled. A job's log lines go to
    // the log view unless `log` names another place for them.
    bool AddJob(ILineSink* log = nullptr);
    bool Start();
    void Abort();  // asks first
    bool Preview(ILineSink* log = nullptr);

    // The queue buttons beside the list.
    bool DeleteJob();
    bool MoveJobUp();
    bool MoveJobDown();

    // "Shutdown when done", read by the worker from its thread.
    void SetShutdownWhenDone(bool on) { shutdownWhenDone_ = on; }
    bool ShutdownWhenDone() const { return shutdownWhenDone_.load(); }

    // Closing is refused, with its message, while a job or a preview runs.
    bool CanClose();
    // Whether a worker or a run still exists (an aborted one may still wind down).
    bool Busy();
    // Blocks until every worker and run has ended; only for a caller without a window.
    void WaitForAll();

  private:
    void UpdateButtons() { updateButtons_(); }
    void Reap();

    IDialogs& dialogs_;
    IAdvancedSettings& advanced_;
    IUiBridge& bridge_;
    ILineSink& log_;
    std::function<void()> updateButtons_;
    TTrackSelection tracks_;
    TJobQueue queue_;
    TRunFactory runFactory_;
    TPreviewFactory previewFactory_;
    TJobManager::TPowerOff powerOff_;
    std::atomic<bool> shutdownWhenDone_{false};
    std::vector<std::unique_ptr<TJobManager>> workers_;
    std::vector<std::unique_ptr<IPreviewRun>> previews_;
};

// Ctrl+F9: the command line of "Hidden Options.exe" in the program folder, with the input folder
// when one is loaded; nullopt when the program is not there.
std::optional<std::string> HiddenOptionsCommandLine(const std::string& programDir,
                                                    const std::string& inputDir);
