// The run's thread: one error guard around the banner and the sequence, "Job finished." and the
// job log whatever happens.
#include "encoder/encoder.h"

#include <exception>
#include <mutex>
#include <stdexcept>

#include "encoder/DriverSteps.h"
#include "platform/files.h"
#include "util/utils.h"

namespace {

const std::string kErrorFrame(37, '*');

}  // namespace

TMXEncoder::TMXEncoder(const TEncRecord& settings, bool preview, IUiBridge* ui)
    : TRun(settings, preview, ::Program()), ui_(ui) {
    abortBaseline_ = RunState().AbortCount.load();
    TakePreviewFiles();
}

// Only a preview starts from what the last preview left, and only from files that are still
// there. A normal run makes its own index and subtitles, and the preview's subtitles must never
// be drawn into a job that has none.
// A cache whose file is gone (a normal run emptied that folder) is forgotten, so that the next
// preview makes it again.
void TMXEncoder::TakePreviewFiles() {
    TRunState& state = RunState();
    const auto take = [this](TSharedText& cache, std::string& file) {
        file = cache.Get();
        if (!file.empty() && !platform::FileExists(file)) cache.Set("");
        if (!PreviewMode || !platform::FileExists(file)) file.clear();
    };
    take(state.PreviewIndexFile, Source.D2VFile);
    take(state.PreviewSubsFile, Source.VobSubFile);
    if (Settings.SubTrack == -1)
        Source.VobSubFile.clear();  // kept for when the subtitles come back
}

TMXEncoder::~TMXEncoder() {
    WaitFor();
}

void TMXEncoder::Start() {
    if (thread_.joinable()) return;
    finished_ = false;
    thread_ = std::thread([this] {
        // Execute() handles the errors of the job; what could still escape (no memory left for
        // the last log line) must not take the whole program down with it.
        try {
            Execute();
        } catch (...) {
        }
        finished_ = true;
    });
}

void TMXEncoder::WaitFor() {
    if (thread_.joinable()) thread_.join();
}

void TMXEncoder::Execute() {
    TRunState& state = RunState();
    std::lock_guard<std::mutex> onlyRun(state.EncoderGate);
    // A flag left over from an earlier run is cleared; an "Abort" pressed for this run since it
    // was made is kept, so that its first program is not started at all.
    state.AbortRequested = state.AbortCount.load() != abortBaseline_;
    RunGuarded();
    EndProgress();
    LogLine("Job finished.");
    SaveJobLog();
    ReleaseOutputFolder();
    if (PreviewMode) {
        state.StateFlags.fetch_or(Idle);
        if (ui_) ui_->UpdateButtons();
    }
}

void TMXEncoder::Stage(const TStage& stage) {
    SetProgressStage(stage.Caption ? stage.Caption : stage.Name);
    stages_.Run(stage, *this);
}

void TMXEncoder::RunGuarded() {
    std::string error;
    try {
        LogLine("Movrex 1.25");
        LogLine("OS: " + OsVersionText());
        LogLine("Job started.");
        if (!TempFolderError().empty()) throw std::runtime_error(TempFolderError());
        CheckTrackIndexes(*this);
        if (PreviewMode)
            RunPreview();
        else
            RunNormal();
        return;
    } catch (const std::exception& e) {
        error = e.what();
    } catch (...) {
        error = "Unknown error";
    }
    LogRaw(kErrorFrame);
    LogRaw("EXCEPTION: " + error);
    LogRaw(kErrorFrame);
}
