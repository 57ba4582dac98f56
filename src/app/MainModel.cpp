#include "app/MainModel.h"

#include <algorithm>

#include "app/Messages.h"
#include "encoder/EncoderRuns.h"
#include "jobs/Abort.h"

TMainModel::TMainModel(const TMainModelLinks& links)
    : dialogs_(links.Dialogs),
      advanced_(links.Advanced),
      bridge_(links.Bridge),
      log_(links.Log),
      updateButtons_(links.UpdateButtons),
      tracks_(links.Dialogs, links.Advanced, links.UpdateButtons),
      runFactory_(CreateQueueRun),
      previewFactory_(CreatePreviewRun) {
    tracks_.SetNotes(&log_);
}

TMainModel::~TMainModel() {
    for (auto& preview : previews_) preview->WaitFor();
    workers_.clear();
}

TButtonStates TMainModel::Buttons() const {
    return ButtonStatesFor(RunState().StateFlags.load(), queue_.AnyChecked());
}

// Runs and workers that have ended are let go; one that still winds down after an abort is kept
// until it has, since the window thread never waits for it.
void TMainModel::Reap() {
    std::erase_if(previews_, [](const auto& preview) { return preview->Finished(); });
    std::erase_if(workers_, [](const auto& worker) { return worker->Finished(); });
}

bool TMainModel::Busy() {
    Reap();
    return !previews_.empty() || !workers_.empty();
}

void TMainModel::WaitForAll() {
    for (auto& worker : workers_) worker->WaitFor();
    for (auto& preview : previews_) preview->WaitFor();
    Reap();
}

bool TMainModel::AddJob(ILineSink* log) {
    if (!Buttons().AddJob) return false;
    TEncRecord& settings = EncSettings();
    StoreSizeSettings(Size, settings);
    settings.Log = log ? log : &log_;
    settings.Progress = &bridge_;
    advanced_.StoreAdvancedSettings(settings);
    queue_.Add(settings);
    UpdateButtons();
    return true;
}

bool TMainModel::Start() {
    if (!Buttons().Start) return false;
    Reap();
    RunState().StateFlags.fetch_and(~uint32_t(Idle));
    UpdateButtons();
    workers_.push_back(std::make_unique<TJobManager>(queue_, bridge_, runFactory_, powerOff_));
    workers_.back()->Start();
    return true;
}

void TMainModel::Abort() {
    if (!Buttons().Abort) return;
    if (!dialogs_.Confirm(kAbortQuestion)) return;
    RequestAbort();
    UpdateButtons();
}

bool TMainModel::Preview(ILineSink* log) {
    if (!Buttons().Preview) return false;
    Reap();
    RunState().StateFlags.fetch_and(~uint32_t(Idle));
    UpdateButtons();
    TEncRecord& settings = EncSettings();
    advanced_.StoreAdvancedSettings(settings);
    settings.Log = log ? log : &log_;
    settings.Progress = &bridge_;
    previews_.push_back(previewFactory_(settings, bridge_));
    previews_.back()->Start();
    return true;
}

bool TMainModel::DeleteJob() {
    if (!queue_.Delete()) return false;
    UpdateButtons();
    return true;
}

bool TMainModel::MoveJobUp() {
    return queue_.MoveUp();
}

bool TMainModel::MoveJobDown() {
    return queue_.MoveDown();
}

bool TMainModel::CanClose() {
    if (RunState().StateFlags.load() & Idle) return true;
    dialogs_.Message(MessageKind::Warning, kAbortBeforeQuitMessage);
    return false;
}
