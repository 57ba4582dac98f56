#pragma once
// A stage is one step of a run's work in a file of its own, which ends with the stage's record:
// its name and the function that does the work on the run. The driver sequences the records;
// it runs each through a table in which a test may put a stand-in for any stage, to check the
// order, the log lines and the error path without the stage's tools.
#include <functional>
#include <map>

class TRun;

struct TStage {
    const char* Name;
    void (*Work)(TRun& run);
    // What the progress bar calls the stage while its tools run; none for a stage without tools.
    const char* Caption = nullptr;
};

class TStageTable {
  public:
    using TWork = std::function<void(TRun& run)>;

    // Runs `stage`, or what a test put in its place.
    void Run(const TStage& stage, TRun& run) const;
    // Puts `work` in the place of `stage`.
    void Replace(const TStage& stage, TWork work);

  private:
    std::map<const TStage*, TWork> replaced_;
};
