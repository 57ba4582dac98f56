#include "jobs/JobProgress.h"

TJobProgress TProgressMeter::Begin(const std::string& stage, bool frames, Clock::time_point now) {
    progress_ = TJobProgress{};
    progress_.Stage = stage;
    progress_.Frames = frames;
    started_ = false;
    lastReport_ = now;
    return progress_;
}

std::optional<TJobProgress> TProgressMeter::Update(int64_t done, int64_t total,
                                                   Clock::time_point now) {
    const bool first = !started_;
    if (first) {
        started_ = true;
        firstDone_ = done;
        first_ = now;
    }
    progress_.Done = done;
    progress_.Total = total;
    const double seconds = std::chrono::duration<double>(now - first_).count();
    if (seconds >= 1 && done > firstDone_) {
        progress_.Rate = static_cast<double>(done - firstDone_) / seconds;
        progress_.SecondsLeft = static_cast<double>(total - done) / progress_.Rate;
    }
    const bool last = total > 0 && done >= total;
    if (!first && !last && now - lastReport_ < kInterval) return std::nullopt;
    lastReport_ = now;
    return progress_;
}
