#include <gtest/gtest.h>

#include <chrono>
#include <regex>

#include "encoder/EncoderTestSupport.h"
#include "util/utils.h"

namespace {

using Log = EncoderTest;

const std::regex kStamped(R"(\[\S+ \S+\] (.*))");

std::string Unstamped(const std::string& line) {
    std::smatch m;
    return std::regex_match(line, m, kStamped) ? m[1].str() : "<no stamp: " + line + ">";
}

TEST_F(Log, LinesAreStampedAndGoWhereTheFlagsSay) {
    TEncRecord job = TestJob(Output());
    job.Log = &window;
    TMXEncoder run(job, false);
    run.LogLine("both");
    run.LogLine("window only", true, false);
    run.LogLine("file only", false, true);
    run.LogRaw("raw");
    ASSERT_EQ(window.Lines().size(), 3u);
    EXPECT_EQ(Unstamped(window.Lines()[0]), "both");
    EXPECT_EQ(Unstamped(window.Lines()[1]), "window only");
    EXPECT_EQ(window.Lines()[2], "raw");
    ASSERT_EQ(run.JobLog.size(), 3u);
    EXPECT_EQ(run.JobLog[0], window.Lines()[0]);
    EXPECT_EQ(Unstamped(run.JobLog[1]), "file only");
    EXPECT_EQ(run.JobLog[2], "raw");
}

TEST_F(Log, AScriptEchoIsFramedGoesToTheFileOnlyAndLeavesOutTheCodecState) {
    TEncRecord job = TestJob(Output());
    job.Log = &window;
    TMXEncoder run(job, false);
    run.LogScript({"VirtualDub.Open(\"a.avs\");", "VirtualDub.video.SetCompData(5,\"AAA=\");",
                   "VirtualDub.Close();"},
                  "Writing the following script to /tmp/lastjob.vcf");
    const std::string frame(59, '=');
    ASSERT_EQ(run.JobLog.size(), 5u);
    EXPECT_EQ(Unstamped(run.JobLog[0]), "Writing the following script to /tmp/lastjob.vcf");
    EXPECT_EQ(run.JobLog[1], frame);
    EXPECT_EQ(run.JobLog[2], "VirtualDub.Open(\"a.avs\");");
    EXPECT_EQ(run.JobLog[3], "VirtualDub.Close();");
    EXPECT_EQ(run.JobLog[4], frame);
    EXPECT_TRUE(window.Lines().empty());
}

TEST_F(Log, TimingGivesTheDurationAndTheSpeedOfTheShareOfFrames) {
    TMXEncoder run(TestJob(Output()), false);
    run.Source.FrameCount = 1000;
    const auto start = std::chrono::system_clock::now();
    const auto end = start + std::chrono::seconds(10);
    run.LogTiming(50, end, start);  // either order
    run.LogTiming(100, start, start);
    ASSERT_EQ(run.JobLog.size(), 4u);
    EXPECT_EQ(Unstamped(run.JobLog[0]), "Duration was: " + DurationText(start, end));
    EXPECT_EQ(Unstamped(run.JobLog[1]), "Speed was: 50.00 fps.");
    EXPECT_EQ(Unstamped(run.JobLog[3]), "Speed was: 0.00 fps.");
}

TEST_F(Log, TheJobLogIsSavedBesideTheOutputOnlyWhenItHasLines) {
    TEncRecord job = TestJob(Output());
    job.Log = &window;
    TMXEncoder run(job, false);
    run.SaveJobLog();
    EXPECT_EQ(testing_support::ReadAll(run.JobLogFile()), "");
    run.LogRaw("one");
    run.LogRaw("two");
    run.SaveJobLog();
    EXPECT_TRUE(run.JobLog.empty());
    EXPECT_EQ(testing_support::ReadAll(dir.File("out/film_mx.log")), "one\ntwo\n");
    run.SaveJobLog();  // nothing new: the file stays
    EXPECT_EQ(testing_support::ReadAll(dir.File("out/film_mx.log")), "one\ntwo\n");
}

TEST_F(Log, AJobLogThatCannotBeWrittenIsReportedInTheWindow) {
    dir.Write("out/film_mx.log/blocker", "");  // a folder where the file should go
    TEncRecord job = TestJob(Output());
    job.Log = &window;
    TMXEncoder run(job, false);
    run.LogRaw("one", false, true);
    run.SaveJobLog();
    ASSERT_EQ(window.Lines().size(), 1u);
    EXPECT_EQ(Unstamped(window.Lines()[0]),
              "Cannot write the job log " + dir.File("out/film_mx.log") + ".");
    EXPECT_TRUE(run.JobLog.empty());
}

}  // namespace
