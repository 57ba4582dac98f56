#include "encoder/Runner.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <thread>

#include "encoder/EncoderTestSupport.h"
#include "jobs/Abort.h"
#include "platform/files.h"

namespace {

using Runner = EncoderTest;

// Presses "Abort" from another thread once the program is running and has left `marker`.
std::thread AbortWhenRunning(const std::string& marker) {
    return std::thread([marker] {
        while (RunState().ProcessHandle.load() == 0 || !platform::FileExists(marker))
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        RequestAbort();
    });
}

TEST_F(Runner, AWaitedProgramRunsToItsEndAndStaysNamedAsTheLastOneStarted) {
    const std::string marker = dir.File("m");
    EXPECT_TRUE(RunProgram(Helper("spine_sleep") + " 50 " + marker, true, true));
    EXPECT_TRUE(platform::FileExists(marker + ".end"));
    EXPECT_NE(RunState().ProcessHandle.load(), 0);
}

TEST_F(Runner, AProgramNotWaitedForReturnsAtOnceAndLeavesTheHandleAlone) {
    const std::string marker = dir.File("m");
    RunState().ProcessHandle = 4242;
    EXPECT_TRUE(RunProgram(Helper("spine_sleep") + " 3000 " + marker, false, false));
    EXPECT_FALSE(platform::FileExists(marker + ".end"));
    EXPECT_EQ(RunState().ProcessHandle.load(), 4242);
    RunState().ProcessHandle = 0;
}

TEST_F(Runner, AProgramThatCannotStartIsReportedAsNotStarted) {
    EXPECT_FALSE(RunProgram(dir.File("missing.exe") + " x", true, true));
    EXPECT_FALSE(RunCapturingDebugOutput(dir.File("missing.exe"), [](const std::string&) {}));
}

TEST_F(Runner, AbortEndsTheWaitAndRaisesJobAborted) {
    const std::string marker = dir.File("m");
    std::thread window = AbortWhenRunning(marker);
    EXPECT_THROW(RunProgram(Helper("spine_sleep") + " 20000 " + marker, true, true), TJobAborted);
    window.join();
    EXPECT_TRUE(platform::FileExists(marker));
    EXPECT_FALSE(platform::FileExists(marker + ".end"));
}

TEST_F(Runner, AnAbortBetweenProgramsStopsTheNextOneBeforeItStarts) {
    const std::string marker = dir.File("m");
    RequestAbort();
    EXPECT_THROW(RunProgram(Helper("spine_sleep") + " 0 " + marker, true, true), TJobAborted);
    EXPECT_THROW(RunCapturingDebugOutput(Helper("spine_decimate") + " touch:" + marker,
                                         [](const std::string&) {}),
                 TJobAborted);
    EXPECT_FALSE(platform::FileExists(marker));
}

TEST_F(Runner, DebugCaptureLastsUntilTheProgramAndItsChildHaveEnded) {
    std::vector<std::string> got;
    EXPECT_TRUE(RunCapturingDebugOutput(
        Helper("spine_decimate") +
            " \"Decimate: 13: 1.53\" spawn:sleep:300,\"Decimate: 21: 1.9\" \"Decimate: 15: 1.2\"",
        [&](const std::string& s) { got.push_back(s); }));
    EXPECT_EQ(got, (std::vector<std::string>{"Decimate: 13: 1.53", "Decimate: 15: 1.2",
                                             "Decimate: 21: 1.9"}));
}

TEST_F(Runner, TheRunKeepsTheThresholdOfTheCapturedStrings) {
    TMXEncoder run(TestJob(Output()), true);
    EXPECT_TRUE(CaptureHybridThreshold(run, Helper("spine_decimate") +
                                                " \"Decimate: 12: 1.7\" \"Decimate: 13: 1.53\""
                                                " \"Decimate: 13\" \"Decimate: 17: 2.5\""));
    EXPECT_EQ(run.Source.HybridThreshold, 1.53);
}

TEST_F(Runner, ADamagedChannelOrAStringThatDoesNotConvertEndsTheProgramAndTheJob) {
    const std::string marker = dir.File("m");
    try {
        RunCapturingDebugOutput(Helper("spine_decimate") + " bad sleep:3000 touch:" + marker,
                                [](const std::string&) {});
        FAIL();
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("is damaged"), std::string::npos) << e.what();
    }
    TMXEncoder run(TestJob(Output()), true);
    try {
        CaptureHybridThreshold(
            run, Helper("spine_decimate") + " \"Decimate: 13: abc\" sleep:3000 touch:" + marker);
        FAIL();
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "'abc' is not a valid floating point value");
    }
    EXPECT_FALSE(platform::FileExists(marker));
}

TEST_F(Runner, AbortEndsADebugCapture) {
    const std::string started = dir.File("started");
    const std::string marker = dir.File("m");
    std::thread window = AbortWhenRunning(started);
    EXPECT_THROW(RunCapturingDebugOutput(Helper("spine_decimate") + " touch:" + started +
                                             " sleep:20000 touch:" + marker,
                                         [](const std::string&) {}),
                 TJobAborted);
    window.join();
    EXPECT_FALSE(platform::FileExists(marker));
}

TEST(ProgressLine, OnlyTwoWholeNumbersAfterTheWordCount) {
    const auto parsed = [](const std::string& line) {
        const auto p = ParseProgressLine(line);
        return p ? std::to_string(p->Done) + "/" + std::to_string(p->Total) : std::string("-");
    };
    EXPECT_EQ(parsed("progress 12 100"), "12/100");
    EXPECT_EQ(parsed(" progress  3\t7\r"), "3/7");
    EXPECT_EQ(parsed("progress 9 4"), "4/4");  // never beyond the whole
    EXPECT_EQ(parsed("progress 0 0"), "0/0");
    for (const char* other : {"progress 1", "progress 1 2 3", "Progress 1 2", "progress -1 5",
                              "progress 1x 2", "progress 1 9999999999999999999", "", "progress"})
        EXPECT_EQ(parsed(other), "-") << other;
}

// The program's standard output goes to a file for the life of the object.
class StdoutToFile {
  public:
    explicit StdoutToFile(const std::string& path) {
        std::fflush(stdout);
        saved_ = dup(STDOUT_FILENO);
        const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(fd, STDOUT_FILENO);
        close(fd);
    }
    ~StdoutToFile() {
        std::fflush(stdout);
        dup2(saved_, STDOUT_FILENO);
        close(saved_);
    }

  private:
    int saved_ = -1;
};

// Progress lines go to the consumer in order, every other line to this program's standard output
// as before; a program the tool started that keeps the output open does not hold up the run.
TEST_F(Runner, ProgressLinesGoToTheConsumerAndTheRestPassesThrough) {
    std::vector<std::string> got;
    TProgramRun how;
    how.OnProgress = [&](int64_t done, int64_t total) {
        got.push_back(std::to_string(done) + "/" + std::to_string(total));
    };
    const std::string held = dir.File("held");
    {
        StdoutToFile out(dir.File("stdout.txt"));
        EXPECT_TRUE(RunProgram(Helper("spine_progress") +
                                   " \"progress 0 4\" hello \"progress 2\" spawn:5000:" + held +
                                   " \"progress 4 4\"",
                               how));
    }
    EXPECT_FALSE(platform::FileExists(held + ".end"));
    EXPECT_EQ(got, (std::vector<std::string>{"0/4", "4/4"}));
    EXPECT_EQ(testing_support::ReadAll(dir.File("stdout.txt")), "hello\nprogress 2\n");
}

}  // namespace
