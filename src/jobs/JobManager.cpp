#include "jobs/JobManager.h"

#include <exception>
#include <mutex>
#include <utility>

#include "jobs/ProgramValues.h"
#include "util/utils.h"

TJobManager::TJobManager(TJobQueue& queue, IUiBridge& ui, TRunFactory makeRun, TPowerOff powerOff)
    : queue_(queue), ui_(ui), makeRun_(std::move(makeRun)), powerOff_(std::move(powerOff)) {
    if (!powerOff_) powerOff_ = [] { ShutdownWindows(); };
}

TJobManager::~TJobManager() {
    WaitFor();
}

void TJobManager::Start() {
    if (thread_.joinable()) return;
    // Noted on the caller's thread, so that an "Abort" pressed before the worker gets going still
    // counts for this queue run.
    abortCountAtStart_ = RunState().AbortCount.load();
    finished_ = false;
    thread_ = std::thread([this] {
        Execute();
        finished_ = true;
    });
}

void TJobManager::WaitFor() {
    if (thread_.joinable()) thread_.join();
}

// The flag alone is not enough: a preview started after an "Abort" clears it while this worker
// still waits for its aborted run.
bool TJobManager::Aborted() const {
    const TRunState& state = RunState();
    return state.AbortRequested.load() || state.AbortCount.load() != abortCountAtStart_;
}

void TJobManager::RunOne(const TQueuedJob& job) {
    {
        // The run made next deletes its temporary folder; an aborted run may still be using it.
        std::lock_guard<std::mutex> wait(RunState().EncoderGate);
    }
    // A run reports its own errors in its log; one that could not even be made is gone like a
    // failed one, so that the queue goes on, and the window says why.
    try {
        std::unique_ptr<IJobRun> run = makeRun_(job.Settings, abortCountAtStart_);
        run->Start();
        run->WaitFor();
    } catch (const std::exception& e) {
        if (job.Settings.Log)
            job.Settings.Log->AddLine("The job " + job.Settings.OutputFile +
                                      " could not be run: " + e.what());
    }
    queue_.Remove(job.Position);
    ui_.QueueChanged();
}

void TJobManager::Execute() {
    TRunState& state = RunState();
    std::lock_guard<std::mutex> onlyWorker(state.WorkerGate);
    // A flag left over from an aborted preview must not stop a queue run the user has just started.
    if (state.AbortCount.load() == abortCountAtStart_) state.AbortRequested = false;
    while (queue_.AnyChecked() && !Aborted()) {
        std::optional<TQueuedJob> job = queue_.TakeFirstChecked();
        if (!job) break;
        state.AbortRequested = false;
        ui_.QueueChanged();
        RunOne(*job);
    }
    const bool aborted = Aborted();
    state.CurrentJob = -1;
    state.StateFlags.fetch_or(Idle);
    ui_.UpdateButtons();
    if (!aborted && ui_.ShutdownWhenDone()) powerOff_();
    state.AbortRequested = false;
}
