// The run's thread body: the banner, then the preview path or the stages of a normal run in
// their fixed order, all inside one error guard; "Job finished." and the job log whatever happens.
#include <exception>
#include <mutex>
#include <stdexcept>
#include <string>

#include "encoder/encoder.h"
#include "jobs/ProgramValues.h"
#include "util/utils.h"

namespace {

const std::string kErrorFrame(37, '*');

}  // namespace

void TMXEncoder::Execute() {
    TRunState& state = RunState();
    std::lock_guard<std::mutex> onlyRun(state.EncoderGate);
    // A flag left over from an earlier run is cleared; an "Abort" pressed for this run since it
    // was made is kept, so that its first program is not started at all.
    state.AbortRequested = state.AbortCount.load() != abortBaseline_;
    RunGuarded();
    LogLine("Job finished.");
    SaveJobLog();
    if (PreviewMode) {
        state.StateFlags.fetch_or(Idle);
        if (ui_) ui_->UpdateButtons();
    }
}

void TMXEncoder::RunGuarded() {
    std::string error;
    try {
        LogLine("Movrex 1.25");
        LogLine("OS: " + OsVersionText());
        LogLine("Job started.");
        if (!tempFolderError_.empty()) throw std::runtime_error(tempFolderError_);
        CheckTrackIndexes();
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

void TMXEncoder::RunNormal() {
    LogSettings();
    LogLine("Started encoding.");
    LogLine("Demuxing and indexing.");
    stages_.IndexForEncoding(*this);
    stages_.DetectFieldOrder(*this);
    stages_.EncodeAudio(*this);
    if (Settings.SubTrack != -1) {
        LogLine("Indexing subtitles.");
        stages_.ExtractSubtitles(*this);
    }
    stages_.ChooseInitialSettings(*this);
    stages_.ComputeBudget(*this);
    if (Settings.QualityMode) {
        LogLine("Running single pass encoding.");
        stages_.RunSinglePass(*this);
    } else {
        RunSizeMode();
    }
    stages_.SplitOutput(*this);
}
