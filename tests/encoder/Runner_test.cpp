#include "encoder/Runner.h"

#include <gtest/gtest.h>

#include <chrono>
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

}  // namespace
