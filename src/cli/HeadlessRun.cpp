#include <map>
#include <memory>
#include <vector>

#include "app/Messages.h"
#include "app/Startup.h"
#include "cli/Headless.h"
#include "cli/HeadlessJob.h"
#include "cli/Interrupt.h"
#include "cli/Terminal.h"
#include "encoder/EncoderRuns.h"
#include "platform/system.h"

namespace {

// The worker's calls have no window to reach; the shutdown choice comes from the command line.
class TTerminalBridge : public IUiBridge {
  public:
    TTerminalBridge(bool shutdown, IProgressSink* progress)
        : shutdown_(shutdown), progress_(progress) {}
    void UpdateButtons() override {}
    void QueueChanged() override {}
    bool ShutdownWhenDone() const override { return shutdown_; }
    void ShowProgress(const TJobProgress& progress) override {
        if (progress_) progress_->ShowProgress(progress);
    }

  private:
    bool shutdown_;
    IProgressSink* progress_;
};

// The jobs' own log sinks, so that each job's outcome is known; a job whose run could not even
// be made counts as failed.
class TJobOutcomes {
  public:
    explicit TJobOutcomes(ILineSink& out) : out_(out) {}
    TJobLogSink* Add() {
        sinks_.push_back(std::make_unique<TJobLogSink>(out_));
        return sinks_.back().get();
    }
    TRunFactory Factory(TRunFactory makeRun) {
        if (!makeRun) makeRun = CreateQueueRun;
        return [this, makeRun](const TEncRecord& settings, uint32_t abortBaseline) {
            std::lock_guard<std::mutex> lock(mutex_);
            TJobLogSink* sink = Find(settings.Log);
            if (sink) started_.push_back(sink);
            try {
                return makeRun(settings, abortBaseline);
            } catch (...) {
                if (sink) sink->MarkFailed();
                throw;
            }
        };
    }
    // Every job ran and none failed.
    bool AllFine() {
        std::lock_guard<std::mutex> lock(mutex_);
        if (started_.size() != sinks_.size()) return false;
        for (const auto& sink : sinks_)
            if (sink->Failed()) return false;
        return true;
    }

  private:
    TJobLogSink* Find(const ILineSink* log) const {
        for (const auto& sink : sinks_)
            if (sink.get() == log) return sink.get();
        return nullptr;
    }
    ILineSink& out_;
    std::mutex mutex_;
    std::vector<std::unique_ptr<TJobLogSink>> sinks_;
    std::vector<TJobLogSink*> started_;
};

int RunJobs(const TCliOptions& options, ILineSink& out, ILineSink& err,
            const THeadlessHooks& hooks) {
    TTerminalDialogs dialogs(err);
    TInterruptWatcher interrupt(err);
    if (RunStartup(dialogs, hooks.Machine) != TStartupResult::Ready) return kExitFailed;
    TTerminalBridge bridge(options.Shutdown, hooks.Progress);
    TAdvancedSettingsValues advanced;
    TJobOutcomes outcomes(out);
    TMainModel model({dialogs, advanced, bridge, out, [] {}});
    model.SetRunFactory(outcomes.Factory(hooks.MakeRun));
    if (hooks.MakePreview) model.SetPreviewFactory(hooks.MakePreview);
    if (hooks.PowerOff) model.SetPowerOff(hooks.PowerOff);
    for (const TJobOptions& job : options.Jobs) {
        try {
            PrepareJob(job, model, advanced, dialogs);
        } catch (const TRefusal& refusal) {
            err.AddLine(std::string("movrex-cli: ") + refusal.what() +
                        (options.Preview ? "." : "; nothing was run."));
            return kExitRefused;
        }
        TJobLogSink* log = outcomes.Add();
        if (!options.Preview) {
            if (model.AddJob(log)) continue;
            err.AddLine("movrex-cli: the job of --input " + job.Input +
                        " cannot be added; nothing was run.");
            return kExitRefused;
        }
        // A preview is not queued; the next one waits until this one has shown its script.
        model.Preview(log);
        model.WaitForAll();
        if (interrupt.Interrupted() || log->Failed()) return kExitFailed;
    }
    if (options.Preview) return kExitOk;
    if (model.Start()) model.WaitForAll();
    if (interrupt.Interrupted()) return kExitFailed;
    return outcomes.AllFine() ? kExitOk : kExitFailed;
}

}  // namespace

int RunHeadless(const TCliOptions& options, ILineSink& out, ILineSink& err,
                const THeadlessHooks& hooks) {
    if (!options.ListTracks.empty()) return ListTracks(options.ListTracks, out, err);
    // One copy on a configuration folder, as the window: the runs keep the codecs' settings in
    // its registry hive.
    const auto instance = ConfigFolderLock();
    if (!instance->Acquired()) {
        err.AddLine("movrex-cli: " + (instance->Error().empty()
                                          ? std::string("Movrex is running already.")
                                          : instance->Error() + "."));
        return kExitFailed;
    }
    return RunJobs(options, out, err, hooks);
}
