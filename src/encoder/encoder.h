#pragma once
// One conversion of one DVD title: the run copies its job's settings, prepares the temporary
// folder beside the output file, then sequences the stages in a fixed order on a thread of its
// own, each stage reading what the earlier ones left in the run's records. Everything that
// happens is logged line by line to the window and, at the end, to "<output>_mx.log".
//
// The window and the headless program make runs through encoder/EncoderRuns.h; this header is
// for the driver and its tests.
#include <atomic>
#include <cstdint>
#include <thread>

#include "encoder/Run.h"
#include "encoder/Stage.h"
#include "jobs/JobRun.h"
#include "jobs/UiBridge.h"

class TMXEncoder : public TRun, public IJobRun {
  public:
    // Copies `settings` and the program-wide values, empties the temporary folder (normal runs
    // only) and takes the last preview's files (previews only). The run does not start until
    // Start(). `ui` receives the preview's final button refresh.
    TMXEncoder(const TEncRecord& settings, bool preview, IUiBridge* ui = nullptr);
    // Waits for the thread when it was started.
    ~TMXEncoder() override;
    TMXEncoder(const TMXEncoder&) = delete;
    TMXEncoder& operator=(const TMXEncoder&) = delete;

    void Start() override;
    void WaitFor() override;
    // True once the thread body has returned (or when it was never started).
    bool Finished() const { return finished_.load(); }

    // "Abort" presses counted after `count` abort this run (the queue worker passes the count of
    // the moment its queue run began).
    void SetAbortBaseline(uint32_t count) { abortBaseline_ = count; }
    // The table the stages run through; tests put stand-ins in it before Start().
    void SetStages(const TStageTable& stages) { stages_ = stages; }

    // The thread body; a test may also run it on the calling thread.
    void Execute();

  private:
    void TakePreviewFiles();
    void RunGuarded();
    void RunPreview();
    void RunNormal();
    void RunSizeMode();
    void Stage(const TStage& stage);

    IUiBridge* ui_ = nullptr;
    TStageTable stages_;
    uint32_t abortBaseline_ = 0;
    std::atomic<bool> finished_{true};
    std::thread thread_;
};
