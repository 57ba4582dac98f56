#pragma once
// Runs in place of the encoder for tests of the window and its rules: each one notes the settings
// it was given, writes a few log lines and shows its progress from its own thread, then waits until
// the test lets it end, or until "Abort" was pressed, as a real run ends when its program is
// terminated. Nothing waits longer than ten seconds.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "app/MainModel.h"
#include "jobs/JobRun.h"
#include "jobs/ProgramValues.h"
#include "jobs/UiBridge.h"

namespace testing_support {

// What every gated run shows as its progress once it has written its lines.
inline const TJobProgress kShownProgress{"First pass", 50, 200, true, 25, 6};

class RunGate {
  public:
    // Lets every run that is waiting, and every later one, end.
    void Open() {
        std::lock_guard<std::mutex> lock(mutex_);
        open_ = true;
        changed_.notify_all();
    }
    // Waits until `count` runs have started; false after ten seconds.
    bool WaitForStarts(size_t count) {
        std::unique_lock<std::mutex> lock(mutex_);
        return changed_.wait_for(lock, std::chrono::seconds(10),
                                 [&] { return started_.size() >= count; });
    }
    std::vector<TEncRecord> Started() {
        std::lock_guard<std::mutex> lock(mutex_);
        return started_;
    }

    // The body of a run: note it, write its lines, wait.
    void Run(const TEncRecord& settings, int lines) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            started_.push_back(settings);
            changed_.notify_all();
        }
        for (int i = 0; i < lines && settings.Log; ++i)
            settings.Log->AddLine(settings.OutputFile + " line " + std::to_string(i));
        if (settings.Progress) settings.Progress->ShowProgress(kShownProgress);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        std::unique_lock<std::mutex> lock(mutex_);
        while (!open_ && !RunState().AbortRequested.load() &&
               std::chrono::steady_clock::now() < deadline)
            changed_.wait_for(lock, std::chrono::milliseconds(5));
    }

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<TEncRecord> started_;
    bool open_ = false;
};

class GatedRun : public IJobRun, public IPreviewRun {
  public:
    GatedRun(RunGate& gate, const TEncRecord& settings, IUiBridge* previewUi, int lines)
        : gate_(gate), settings_(settings), previewUi_(previewUi), lines_(lines) {}
    ~GatedRun() override { WaitFor(); }
    void Start() override {
        thread_ = std::thread([this] {
            gate_.Run(settings_, lines_);
            // A preview run ends by making the window idle again.
            if (previewUi_) {
                RunState().StateFlags.fetch_or(Idle);
                previewUi_->UpdateButtons();
            }
            finished_ = true;
        });
    }
    void WaitFor() override {
        if (thread_.joinable()) thread_.join();
    }
    bool Finished() const override { return finished_.load(); }

  private:
    RunGate& gate_;
    TEncRecord settings_;
    IUiBridge* previewUi_;
    int lines_;
    std::atomic<bool> finished_{false};
    std::thread thread_;
};

// Puts gated runs in place of the encoder for the model's queue runs and previews.
inline void UseGatedRuns(TMainModel& model, RunGate& gate, int lines = 0) {
    model.SetRunFactory([&gate, lines](const TEncRecord& settings, uint32_t) {
        return std::unique_ptr<IJobRun>(new GatedRun(gate, settings, nullptr, lines));
    });
    model.SetPreviewFactory([&gate, lines](const TEncRecord& settings, IUiBridge& ui) {
        return std::unique_ptr<IPreviewRun>(new GatedRun(gate, settings, &ui, lines));
    });
    model.SetPowerOff([] {});
}

// Back to the state of a fresh start.
inline void ResetProgramState() {
    EncSettings() = InitialEncSettings();
    TRunState& state = RunState();
    state.AbortRequested = false;
    state.CurrentJob = -1;
    state.StateFlags = Idle;
    state.PreviewIndexFile.Set("");
    state.PreviewSubsFile.Set("");
}

}  // namespace testing_support
