#pragma once
// The job queue as the main window shows it, without the toolkit: entries in display order, each
// with its caption, its job object, a tick and an enabled state, plus the list's selection.
//
// The window thread and the queue worker both use it; every operation holds the queue's lock for
// its whole length, so each of the worker's accesses is atomic with respect to the window's.
// The worker greys the entry it runs and notes its position in CurrentJob under that lock; the
// window's operations refuse to touch that entry or anything that would move it, which is why
// the worker can remove it later by the position it noted.
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "jobs/globals.h"

struct TQueueRow {
    std::string Caption;
    bool Checked = false;
    bool Enabled = true;

    bool operator==(const TQueueRow&) const = default;
};

// The job the worker has taken: its position and a copy of its settings.
struct TQueuedJob {
    int32_t Position = -1;
    TEncRecord Settings;
};

class TJobQueue {
  public:
    // `currentJob` is the program-wide CurrentJob; tests may give their own.
    explicit TJobQueue(std::atomic<int32_t>& currentJob);
    TJobQueue();
    TJobQueue(const TJobQueue&) = delete;
    TJobQueue& operator=(const TJobQueue&) = delete;

    // Window operations. A failed precondition changes nothing and returns false.
    int32_t Add(const TEncRecord& settings);  // appends a ticked entry; returns its position
    bool Delete();                            // the selected entry
    bool MoveUp();
    bool MoveDown();
    bool CanDelete() const;
    bool CanMoveUp() const;
    bool CanMoveDown() const;
    void Select(int32_t position);  // -1 or out of range: no selection
    int32_t Selected() const;
    bool SetChecked(int32_t position, bool checked);

    bool AnyChecked() const;
    int32_t Count() const;
    std::vector<TQueueRow> Rows() const;
    // A copy of an entry's settings; nullopt when there is no such entry.
    std::optional<TEncRecord> SettingsAt(int32_t position) const;

    // Worker operations. Takes the first ticked entry from the top: greys it, sets CurrentJob to
    // its position and returns a copy of its settings; nullopt when nothing is ticked.
    std::optional<TQueuedJob> TakeFirstChecked();
    // Destroys the job object at `position` and removes its entry.
    bool Remove(int32_t position);

  private:
    struct Entry {
        std::string Caption;
        std::unique_ptr<TEncObject> Job;
        bool Checked = true;
        bool Enabled = true;
    };
    bool CanDeleteLocked() const;
    bool CanSwapLocked(int32_t upper) const;
    bool ValidLocked(int32_t position) const;

    std::atomic<int32_t>& currentJob_;
    mutable std::mutex mutex_;
    std::vector<Entry> entries_;
    int32_t selected_ = -1;
};
