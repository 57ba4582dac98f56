#include "jobs/JobManager.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "jobs/Abort.h"
#include "jobs/ProgramValues.h"
#include "support/RecordingSink.h"

namespace {

class FakeUi : public IUiBridge {
  public:
    void UpdateButtons() override { ++updates; }
    void QueueChanged() override { ++queueChanges; }
    bool ShutdownWhenDone() const override { return shutdown; }
    void ShowProgress(const TJobProgress&) override {}
    std::atomic<int> updates{0};
    std::atomic<int> queueChanges{0};
    std::atomic<bool> shutdown{false};
};

// A run that does its work (a test's function) on a thread of its own, as the encoder does.
class FakeRun : public IJobRun {
  public:
    explicit FakeRun(std::function<void()> body) : body_(std::move(body)) {}
    ~FakeRun() override { WaitFor(); }
    void Start() override { thread_ = std::thread(body_); }
    void WaitFor() override {
        if (thread_.joinable()) thread_.join();
    }

  private:
    std::function<void()> body_;
    std::thread thread_;
};

// A gate a run can wait at until the test opens it.
class Latch {
  public:
    void Open() {
        std::lock_guard<std::mutex> lock(m_);
        open_ = true;
        cv_.notify_all();
    }
    void Wait() {
        std::unique_lock<std::mutex> lock(m_);
        cv_.wait(lock, [this] { return open_; });
    }

  private:
    std::mutex m_;
    std::condition_variable cv_;
    bool open_ = false;
};

class JobManagerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        TRunState& s = RunState();
        s.AbortRequested = false;
        s.ProcessHandle = 0;
        s.CurrentJob = -1;
        s.StateFlags = 0;  // the window clears Idle on "Start"
    }
    void TearDown() override { RunState().StateFlags = Idle; }

    void AddJobs(const std::vector<std::string>& names) {
        for (const std::string& name : names) {
            TEncRecord r = InitialEncSettings();
            r.OutputFile = name;
            queue.Add(r);
        }
    }

    // Each run records its output file; `during` (when set) runs inside the run of that file.
    TRunFactory Factory() {
        return [this](const TEncRecord& settings, uint32_t baseline) {
            baselines.push_back(baseline);
            return std::make_unique<FakeRun>([this, settings] {
                {
                    std::lock_guard<std::mutex> lock(mutex);
                    ran.push_back(settings.OutputFile);
                    currentDuringRun.push_back(RunState().CurrentJob.load());
                }
                auto it = during.find(settings.OutputFile);
                if (it != during.end()) it->second();
            });
        };
    }

    void RunQueue() {
        TJobManager worker(queue, ui, Factory(), [this] { ++powerOffs; });
        worker.Start();
        worker.WaitFor();
        EXPECT_TRUE(worker.Finished());
    }

    std::vector<std::string> Remaining() const {
        std::vector<std::string> out;
        for (const TQueueRow& row : queue.Rows()) out.push_back(row.Caption);
        return out;
    }

    TJobQueue queue;
    FakeUi ui;
    std::mutex mutex;
    std::vector<std::string> ran;
    std::vector<int32_t> currentDuringRun;
    std::vector<uint32_t> baselines;
    std::map<std::string, std::function<void()>> during;
    std::atomic<int> powerOffs{0};
};

TEST_F(JobManagerTest, RunsTickedJobsInOrderAndRemovesEachEntry) {
    AddJobs({"a", "b", "c"});
    during["b"] = [this] { EXPECT_EQ(Remaining(), (std::vector<std::string>{"b", "c"})); };
    RunQueue();
    EXPECT_EQ(ran, (std::vector<std::string>{"a", "b", "c"}));
    // Each job runs at the top once the one before it has gone.
    EXPECT_EQ(currentDuringRun, (std::vector<int32_t>{0, 0, 0}));
    EXPECT_EQ(queue.Count(), 0);
    EXPECT_EQ(RunState().CurrentJob.load(), -1);
    EXPECT_TRUE(RunState().StateFlags.load() & Idle);
    EXPECT_GE(ui.updates.load(), 1);
    EXPECT_GE(ui.queueChanges.load(), 3);
    EXPECT_EQ(powerOffs.load(), 0);
}

TEST_F(JobManagerTest, UntickedEntriesStayAndEntriesTickedDuringTheRunAreRun) {
    AddJobs({"a", "skip", "b", "late"});
    queue.SetChecked(1, false);
    queue.SetChecked(3, false);
    during["a"] = [this] { queue.SetChecked(3, true); };
    RunQueue();
    EXPECT_EQ(ran, (std::vector<std::string>{"a", "b", "late"}));
    EXPECT_EQ(currentDuringRun, (std::vector<int32_t>{0, 1, 1}));
    EXPECT_EQ(queue.Rows(), (std::vector<TQueueRow>{{"skip", false, true}}));
}

TEST_F(JobManagerTest, AJobWhoseRunCannotBeMadeIsDroppedWithAMessageAndTheQueueGoesOn) {
    testing_support::RecordingSink window;
    for (const char* name : {"a", "b", "c"}) {
        TEncRecord r = InitialEncSettings();
        r.OutputFile = name;
        r.Log = &window;
        queue.Add(r);
    }
    TRunFactory working = Factory();
    TJobManager worker(
        queue, ui,
        [&](const TEncRecord& settings, uint32_t baseline) -> std::unique_ptr<IJobRun> {
            if (settings.OutputFile == "b") throw std::runtime_error("no memory");
            return working(settings, baseline);
        },
        [this] { ++powerOffs; });
    worker.Start();
    worker.WaitFor();
    EXPECT_EQ(ran, (std::vector<std::string>{"a", "c"}));
    EXPECT_EQ(queue.Count(), 0);
    EXPECT_EQ(window.Lines(), (std::vector<std::string>{"The job b could not be run: no memory"}));
}

TEST_F(JobManagerTest, PowersOffAfterTheLastJobWhenAsked) {
    AddJobs({"a", "b"});
    ui.shutdown = true;
    during["b"] = [this] { EXPECT_EQ(powerOffs.load(), 0); };
    RunQueue();
    EXPECT_EQ(ran.size(), 2u);
    EXPECT_EQ(powerOffs.load(), 1);
}

TEST_F(JobManagerTest, AbortEndsTheQueueRunAfterTheCurrentJobWithoutPowerOff) {
    AddJobs({"a", "b", "c"});
    ui.shutdown = true;
    during["b"] = [] { RequestAbort(); };
    RunQueue();
    EXPECT_EQ(ran, (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(queue.Rows(), (std::vector<TQueueRow>{{"c", true, true}}));
    EXPECT_EQ(powerOffs.load(), 0);
    EXPECT_FALSE(RunState().AbortRequested.load());
    EXPECT_EQ(RunState().CurrentJob.load(), -1);
    EXPECT_TRUE(RunState().StateFlags.load() & Idle);
}

TEST_F(JobManagerTest, AFlagLeftByAnAbortedPreviewDoesNotStopANewQueueRun) {
    AddJobs({"a"});
    RunState().AbortRequested = true;
    RunQueue();
    EXPECT_EQ(ran, (std::vector<std::string>{"a"}));
    EXPECT_FALSE(RunState().AbortRequested.load());
}

TEST_F(JobManagerTest, AnAbortBeforeTheWorkerGetsGoingStopsIt) {
    AddJobs({"a"});
    TJobManager worker(queue, ui, Factory(), [this] { ++powerOffs; });
    {
        std::lock_guard<std::mutex> holdWorkers(RunState().WorkerGate);
        worker.Start();
        RequestAbort();
    }
    worker.WaitFor();
    EXPECT_TRUE(ran.empty());
    EXPECT_EQ(queue.Count(), 1);
    EXPECT_EQ(powerOffs.load(), 0);
}

TEST_F(JobManagerTest, RunsLearnTheAbortCountOfTheQueueRunsStart) {
    RunState().AbortCount = 41;
    AddJobs({"a", "b"});
    RunQueue();
    EXPECT_EQ(baselines, (std::vector<uint32_t>{41, 41}));
}

// "Abort" sets Idle at once, so "Start" is possible while the aborted job still winds down. The
// new queue run must wait: the aborted entry is still ticked and still in the list.
TEST_F(JobManagerTest, AStartAfterAnAbortWaitsForTheAbortedQueueRun) {
    AddJobs({"a", "b", "c"});
    Latch windDown;
    during["a"] = [&] {
        RequestAbort();
        windDown.Wait();
    };
    TJobManager first(queue, ui, Factory(), [this] { ++powerOffs; });
    first.Start();
    while (RunState().CurrentJob.load() != 0 || !(RunState().StateFlags.load() & Idle))
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    RunState().StateFlags.fetch_and(~uint32_t(Idle));
    TJobManager second(queue, ui, Factory(), [this] { ++powerOffs; });
    second.Start();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    windDown.Open();
    first.WaitFor();
    second.WaitFor();
    EXPECT_EQ(ran, (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(queue.Count(), 0);
}

}  // namespace
