#include "jobs/JobQueue.h"

#include <algorithm>
#include <utility>

#include "jobs/ProgramValues.h"

TJobQueue::TJobQueue(std::atomic<int32_t>& currentJob) : currentJob_(currentJob) {}

TJobQueue::TJobQueue() : TJobQueue(RunState().CurrentJob) {}

bool TJobQueue::ValidLocked(int32_t position) const {
    return position >= 0 && position < static_cast<int32_t>(entries_.size());
}

int32_t TJobQueue::Add(const TEncRecord& settings) {
    std::lock_guard<std::mutex> lock(mutex_);
    entries_.push_back({settings.OutputFile, std::make_unique<TEncObject>(settings), true, true});
    return static_cast<int32_t>(entries_.size()) - 1;
}

bool TJobQueue::CanDeleteLocked() const {
    return ValidLocked(selected_) && selected_ > currentJob_.load() && entries_[selected_].Enabled;
}

// Swapping `upper` with the entry below it needs both to be enabled, so the running entry never
// moves.
bool TJobQueue::CanSwapLocked(int32_t upper) const {
    return ValidLocked(upper) && ValidLocked(upper + 1) && entries_[upper].Enabled &&
           entries_[upper + 1].Enabled;
}

bool TJobQueue::CanDelete() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return CanDeleteLocked();
}

bool TJobQueue::CanMoveUp() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return ValidLocked(selected_) && CanSwapLocked(selected_ - 1);
}

bool TJobQueue::CanMoveDown() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return ValidLocked(selected_) && CanSwapLocked(selected_);
}

bool TJobQueue::Delete() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!CanDeleteLocked()) return false;
    entries_.erase(entries_.begin() + selected_);
    selected_ = entries_.empty() ? -1 : 0;
    return true;
}

bool TJobQueue::MoveUp() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!ValidLocked(selected_) || !CanSwapLocked(selected_ - 1)) return false;
    std::swap(entries_[selected_ - 1], entries_[selected_]);
    --selected_;
    return true;
}

bool TJobQueue::MoveDown() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!ValidLocked(selected_) || !CanSwapLocked(selected_)) return false;
    std::swap(entries_[selected_], entries_[selected_ + 1]);
    ++selected_;
    return true;
}

void TJobQueue::Select(int32_t position) {
    std::lock_guard<std::mutex> lock(mutex_);
    selected_ = ValidLocked(position) ? position : -1;
}

int32_t TJobQueue::Selected() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return selected_;
}

bool TJobQueue::SetChecked(int32_t position, bool checked) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!ValidLocked(position)) return false;
    entries_[position].Checked = checked;
    return true;
}

bool TJobQueue::AnyChecked() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return std::any_of(entries_.begin(), entries_.end(), [](const Entry& e) { return e.Checked; });
}

int32_t TJobQueue::Count() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return static_cast<int32_t>(entries_.size());
}

std::vector<TQueueRow> TJobQueue::Rows() const {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<TQueueRow> rows;
    rows.reserve(entries_.size());
    for (const Entry& e : entries_) rows.push_back({e.Caption, e.Checked, e.Enabled});
    return rows;
}

std::optional<TEncRecord> TJobQueue::SettingsAt(int32_t position) const {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!ValidLocked(position)) return std::nullopt;
    return entries_[position].Job->Settings;
}

std::optional<TQueuedJob> TJobQueue::TakeFirstChecked() {
    std::lock_guard<std::mutex> lock(mutex_);
    for (size_t i = 0; i < entries_.size(); ++i) {
        if (!entries_[i].Checked) continue;
        entries_[i].Enabled = false;
        const auto position = static_cast<int32_t>(i);
        currentJob_ = position;
        return TQueuedJob{position, entries_[i].Job->Settings};
    }
    return std::nullopt;
}

bool TJobQueue::Remove(int32_t position) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!ValidLocked(position)) return false;
    entries_.erase(entries_.begin() + position);
    // The selection stays on its entry; it goes when its own entry goes.
    if (selected_ == position)
        selected_ = -1;
    else if (selected_ > position)
        --selected_;
    return true;
}
