#include "jobs/JobQueue.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

namespace {

TEncRecord Job(const std::string& output) {
    TEncRecord r = InitialEncSettings();
    r.OutputFile = output;
    return r;
}

std::vector<std::string> Captions(const TJobQueue& q) {
    std::vector<std::string> out;
    for (const TQueueRow& row : q.Rows()) out.push_back(row.Caption);
    return out;
}

class JobQueueTest : public ::testing::Test {
  protected:
    std::atomic<int32_t> currentJob{-1};
    TJobQueue queue{currentJob};

    void AddJobs(int n) {
        for (int i = 0; i < n; ++i)
            queue.Add(Job("/out/" + std::string(1, char('a' + i)) + ".avi"));
    }
};

TEST_F(JobQueueTest, AddAppendsATickedEntryWithTheOutputAsCaption) {
    EXPECT_EQ(queue.Add(Job("/out/a.avi")), 0);
    EXPECT_EQ(queue.Add(Job("/out/b.avi")), 1);
    EXPECT_EQ(queue.Rows(),
              (std::vector<TQueueRow>{{"/out/a.avi", true, true}, {"/out/b.avi", true, true}}));
    EXPECT_EQ(queue.Selected(), -1);
    EXPECT_TRUE(queue.AnyChecked());
}

TEST_F(JobQueueTest, TheJobKeepsTheSettingsOfItsAddEvenWhenTheRecordChangesLater) {
    TEncRecord edit = Job("/out/a.avi");
    queue.Add(edit);
    edit.OutputFile = "/out/b.avi";
    queue.Add(edit);
    EXPECT_EQ(queue.SettingsAt(0)->OutputFile, "/out/a.avi");
    EXPECT_EQ(queue.SettingsAt(1)->OutputFile, "/out/b.avi");
    EXPECT_FALSE(queue.SettingsAt(2).has_value());
}

TEST_F(JobQueueTest, DeleteRemovesTheSelectedEntryAndSelectsTheFirst) {
    AddJobs(3);
    queue.Select(1);
    EXPECT_TRUE(queue.Delete());
    EXPECT_EQ(Captions(queue), (std::vector<std::string>{"/out/a.avi", "/out/c.avi"}));
    EXPECT_EQ(queue.Selected(), 0);
    EXPECT_TRUE(queue.Delete());
    EXPECT_TRUE(queue.Delete());
    EXPECT_EQ(queue.Count(), 0);
    EXPECT_EQ(queue.Selected(), -1);
    EXPECT_FALSE(queue.Delete());
}

TEST_F(JobQueueTest, OperationsWithoutSelectionDoNothing) {
    AddJobs(2);
    queue.Select(5);
    EXPECT_EQ(queue.Selected(), -1);
    EXPECT_FALSE(queue.Delete());
    EXPECT_FALSE(queue.MoveUp());
    EXPECT_FALSE(queue.MoveDown());
    EXPECT_EQ(queue.Count(), 2);
}

TEST_F(JobQueueTest, MovesSwapWithTheNeighbourAndTheSelectionFollows) {
    AddJobs(3);
    queue.Select(0);
    EXPECT_FALSE(queue.MoveUp());
    EXPECT_TRUE(queue.MoveDown());
    EXPECT_EQ(queue.Selected(), 1);
    EXPECT_TRUE(queue.MoveDown());
    EXPECT_EQ(queue.Selected(), 2);
    EXPECT_FALSE(queue.MoveDown());
    EXPECT_EQ(Captions(queue),
              (std::vector<std::string>{"/out/b.avi", "/out/c.avi", "/out/a.avi"}));
    EXPECT_TRUE(queue.MoveUp());
    EXPECT_EQ(queue.Selected(), 1);
    EXPECT_EQ(Captions(queue),
              (std::vector<std::string>{"/out/b.avi", "/out/a.avi", "/out/c.avi"}));
    // The job objects travel with their captions.
    EXPECT_EQ(queue.SettingsAt(1)->OutputFile, "/out/a.avi");
}

TEST_F(JobQueueTest, TakingAJobSkipsUntickedEntriesGreysTheEntryAndNotesItsPosition) {
    AddJobs(3);
    queue.SetChecked(0, false);
    std::optional<TQueuedJob> job = queue.TakeFirstChecked();
    ASSERT_TRUE(job.has_value());
    EXPECT_EQ(job->Position, 1);
    EXPECT_EQ(job->Settings.OutputFile, "/out/b.avi");
    EXPECT_EQ(currentJob.load(), 1);
    EXPECT_EQ(queue.Rows()[1], (TQueueRow{"/out/b.avi", true, false}));
    EXPECT_TRUE(queue.Rows()[0].Enabled);
}

TEST_F(JobQueueTest, NothingTickedGivesNoJob) {
    AddJobs(2);
    queue.SetChecked(0, false);
    queue.SetChecked(1, false);
    EXPECT_FALSE(queue.AnyChecked());
    EXPECT_FALSE(queue.TakeFirstChecked().has_value());
    EXPECT_EQ(currentJob.load(), -1);
    EXPECT_FALSE(queue.SetChecked(2, true));
}

// The running entry must keep its position until the worker removes it.
TEST_F(JobQueueTest, TheRunningEntryAndEverythingAboveItStayPut) {
    AddJobs(4);
    queue.SetChecked(0, false);
    queue.SetChecked(1, false);
    ASSERT_EQ(queue.TakeFirstChecked()->Position, 2);
    struct Case {
        int32_t selected;
        bool canDelete, canUp, canDown;
    };
    const Case cases[] = {
        {0, false, false, true},   // above the running entry: not deletable
        {1, false, true, false},   // just above: cannot move down onto it
        {2, false, false, false},  // the running entry itself
        {3, true, false, false},   // just below: cannot move up onto it; last: not down
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.selected);
        queue.Select(c.selected);
        EXPECT_EQ(queue.CanDelete(), c.canDelete);
        EXPECT_EQ(queue.CanMoveUp(), c.canUp);
        EXPECT_EQ(queue.CanMoveDown(), c.canDown);
        const auto before = queue.Rows();
        // The refused operations change nothing.
        if (!c.canDelete) {
            EXPECT_FALSE(queue.Delete());
        }
        if (!c.canUp) {
            EXPECT_FALSE(queue.MoveUp());
        }
        if (!c.canDown) {
            EXPECT_FALSE(queue.MoveDown());
        }
        EXPECT_EQ(queue.Rows(), before);
    }
    queue.Select(3);
    EXPECT_TRUE(queue.Delete());
    EXPECT_EQ(queue.Rows()[2], (TQueueRow{"/out/c.avi", true, false}));
}

TEST_F(JobQueueTest, RemovingAnEntryKeepsTheSelectionOnItsEntry) {
    AddJobs(3);
    queue.Select(2);
    EXPECT_TRUE(queue.Remove(0));
    EXPECT_EQ(queue.Selected(), 1);
    EXPECT_EQ(queue.Rows()[1].Caption, "/out/c.avi");
    EXPECT_TRUE(queue.Remove(1));
    EXPECT_EQ(queue.Selected(), -1);
    EXPECT_FALSE(queue.Remove(1));
    EXPECT_EQ(Captions(queue), (std::vector<std::string>{"/out/b.avi"}));
}

}  // namespace
