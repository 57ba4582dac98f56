// The queue worker with real runs: jobs write their logs, and "Abort" while a job's external
// program runs ends that job and the queue run.
#include <gtest/gtest.h>

#include <chrono>
#include <sstream>
#include <thread>

#include "encoder/EncoderRuns.h"
#include "encoder/EncoderTestSupport.h"
#include "encoder/Runner.h"
#include "jobs/Abort.h"
#include "jobs/JobManager.h"
#include "platform/files.h"

namespace {

class QuietUi : public IUiBridge {
  public:
    void UpdateButtons() override {}
    void QueueChanged() override {}
    bool ShutdownWhenDone() const override { return true; }
    void ShowProgress(const TJobProgress&) override {}
};

std::vector<std::string> Lines(const std::string& path) {
    std::istringstream in(testing_support::ReadAll(path));
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

using QueueWithRuns = EncoderTest;

TEST_F(QueueWithRuns, AbortWhileAProgramRunsEndsThatJobAndKeepsTheRestQueued) {
    TJobQueue queue;
    for (const char* name : {"one", "two", "three"}) {
        TEncRecord job = TestJob(dir.File(std::string(name) + "/film.avi"));
        job.TargetSize = 0;
        queue.Add(job);
    }
    std::atomic<int> afterProgram{0};
    TStageTable stages = RecordingStages(calls);
    stages.Replace(kIndexForEncoding, [&](TRun& e) {
        const std::string seconds =
            e.Settings.OutputFile.find("/two/") != std::string::npos ? "20000" : "0";
        RunProgram(Helper("spine_sleep") + " " + seconds + " " + e.TempFile(".started"), true,
                   true);
        ++afterProgram;
    });
    stages.Replace(kEncodeAudio, [](TRun&) {});
    auto factory = [&](const TEncRecord& settings, uint32_t baseline) {
        auto run = CreateQueueRun(settings, baseline);
        static_cast<TMXEncoder&>(*run).SetStages(stages);
        return run;
    };
    QuietUi ui;
    int powerOffs = 0;
    RunState().StateFlags = 0;
    TJobManager worker(queue, ui, factory, [&] { ++powerOffs; });
    worker.Start();
    while (!platform::FileExists(dir.File("two/mx_tmp/film.started")) ||
           RunState().ProcessHandle.load() == 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    RequestAbort();
    worker.WaitFor();

    EXPECT_EQ(afterProgram.load(), 1);  // job two did not go on after its program
    EXPECT_EQ(queue.Rows(), (std::vector<TQueueRow>{{dir.File("three/film.avi"), true, true}}));
    EXPECT_EQ(powerOffs, 0);
    EXPECT_FALSE(RunState().AbortRequested.load());
    const auto one = Lines(dir.File("one/film_mx.log"));
    ASSERT_FALSE(one.empty());
    EXPECT_TRUE(EndsWith(one.front(), "] Movrex 1.25"));
    EXPECT_TRUE(EndsWith(one.back(), "] Job finished."));
    const auto two = Lines(dir.File("two/film_mx.log"));
    ASSERT_GE(two.size(), 4u);
    EXPECT_EQ(two[two.size() - 3], "EXCEPTION: Job aborted");
    EXPECT_TRUE(EndsWith(two.back(), "] Job finished."));
    EXPECT_FALSE(platform::FileExists(dir.File("three/film_mx.log")));
}

}  // namespace
