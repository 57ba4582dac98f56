#pragma once
// The running job's progress as the window's bar and the headless program's status line show it:
// the stage, how far its tool has come, the tool's speed and the time it still needs. A run
// measures it from the progress lines its tools print.
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

struct TJobProgress {
    std::string Stage;        // the stage whose tool runs; empty once no job runs
    int64_t Done = 0;         // how far the tool has come
    int64_t Total = 0;        // of how much; 0 while the tool has not said
    bool Frames = false;      // Done and Total count frames
    double Rate = 0;          // Done per second; 0 while not known
    double SecondsLeft = -1;  // negative while not known

    bool operator==(const TJobProgress&) const = default;
};

// Where a run's progress goes. Called from the run's threads; must not block them.
class IProgressSink {
  public:
    virtual ~IProgressSink() = default;
    virtual void ShowProgress(const TJobProgress& progress) = 0;
};

// One tool's progress lines turned into what is shown. The speed is the average since the tool's
// first line, once a second has passed, so that the time it takes to start does not count; a
// report follows at most every kInterval, and always for the first line and the last.
class TProgressMeter {
  public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::milliseconds kInterval{250};

    // A tool of `stage` starts: the report that shows the stage alone.
    TJobProgress Begin(const std::string& stage, bool frames, Clock::time_point now);
    // A progress line; nullopt when it comes too soon after the last report.
    std::optional<TJobProgress> Update(int64_t done, int64_t total, Clock::time_point now);

  private:
    TJobProgress progress_;
    bool started_ = false;  // a first line has come
    int64_t firstDone_ = 0;
    Clock::time_point first_;
    Clock::time_point lastReport_;
};
