#include <regex>

#include "encoder/StageTestSupport.h"
#include "encoder/rules/SplitPlan.h"
#include "support/SparseMovie.h"

namespace {

using testing_support::WriteMovie;

using Strings = std::vector<std::string>;

TEST(SplitPlan, PartSizesFileNamesAndTimeTexts) {
    EXPECT_EQ(PartSizeFor(1400, 0), 734003200);
    EXPECT_EQ(PartSizeFor(2100, 30000000), 725051776);
    EXPECT_EQ(PartSizeFor(1400, 3), 734003198);  // 1.5 rounds to even
    EXPECT_EQ(PartSizeFor(700, 0), 0);
    EXPECT_EQ(PartSizeFor(0, 0), 0);
    EXPECT_EQ(PartFileName("/o/film.avi", 2), "/o/film.cd2.avi");
    EXPECT_EQ(SubtitleTimeText(7575, 25), "00:05:03.000");
    EXPECT_EQ(SubtitleTimeText(93088, 25), "01:02:03.520");  // not 519 by a rounding error
    EXPECT_EQ(SubtitleTimeText(1000, 29.97), "00:00:33.366");
    EXPECT_EQ(SubtitleTimeText(0, 23.976), "00:00:00.000");
}

// The (first, count) of every split job's frame range in the job log.
std::vector<std::pair<int, int>> Ranges(const Strings& log) {
    static const std::regex range(R"(VirtualDub\.subset\.AddRange\((\d+),(\d+)\);)");
    std::vector<std::pair<int, int>> out;
    for (const std::string& line : log) {
        std::smatch m;
        if (std::regex_match(line, m, range)) out.push_back({std::stoi(m[1]), std::stoi(m[2])});
    }
    return out;
}

class Split : public StageTest {
  protected:
    std::unique_ptr<TMXEncoder> SplitJob(TEncRecord job) {
        auto run = Run(job);
        kSplitOutput.Work(*run);
        return run;
    }
    static Strings Only(const Strings& log, const std::string& prefix) {
        Strings out;
        for (const std::string& line : log)
            if (line.rfind(prefix, 0) == 0) out.push_back(line);
        return out;
    }
};

TEST_F(Split, TwoAndThreeCdsAreCutIntoConsecutiveRangesEndingAtKeyFrames) {
    const struct {
        int32_t target;
        int frames;
        size_t parts;
    } cases[] = {
        {1400, 1350, 2},
        {2100, 2025, 3},
        // Two parts cut back to key frames leave 50 frames: a third part keeps them.
        {1400, 1400, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.target);
        std::remove(dir.File("calls.log").c_str());
        TEncRecord job = Job();
        job.TargetSize = c.target;
        job.AudioMode = kAudioAC3;
        auto run = Run(job);
        WriteMovie(Output(), c.frames);
        kSplitOutput.Work(*run);
        const Strings log = Logged(*run);
        Strings expected;
        for (size_t n = 1; n <= c.parts; ++n)
            expected.push_back("Splitting video into: " +
                               dir.File("out/film.cd" + std::to_string(n) + ".avi"));
        EXPECT_EQ(Only(log, "Splitting"), expected);
        const auto ranges = Ranges(log);
        ASSERT_EQ(ranges.size(), c.parts);
        int next = 0;
        for (const auto& [first, count] : ranges) {
            EXPECT_EQ(first, next);
            EXPECT_EQ(first % 25, 0);
            next = first + count;
        }
        EXPECT_EQ(next, c.frames);  // the last part keeps the last frame
        EXPECT_EQ(Calls().size(), c.parts);
        for (size_t n = 1; n <= c.parts; ++n)
            EXPECT_TRUE(platform::FileExists(dir.File("out/film.cd" + std::to_string(n) + ".avi")));
        EXPECT_EQ(Only(log, "Writing the following script to "),
                  Strings(c.parts, "Writing the following script to " + run->JobScriptFile));
    }
}

TEST_F(Split, ExternalSubtitlesAreCutToTheSameTimesAndPacked) {
    TEncRecord job = Job();
    job.TargetSize = 1400;
    job.SubTrack = 0;
    job.ExternalSubs = true;
    auto run = Run(job);
    run->Budget.SubtitleSize = 30000000;  // P = 734003200 - 15000000
    WriteMovie(Output(), 1350);
    kSplitOutput.Work(*run);
    const auto ranges = Ranges(Logged(*run));
    ASSERT_EQ(ranges.size(), 2u);
    const std::string cut1 = SubtitleTimeText(ranges[0].second, 25);
    const std::string base = dir.File("out/film");
    const Strings calls = Calls();
    ASSERT_EQ(calls.size(), 6u);
    EXPECT_EQ(calls[1], "rundll32 " + Program().VobSubPath + ",Cutter " + base + " " + base +
                            ".cd1 1 0:0:0.0 " + cut1);
    EXPECT_EQ(calls[2],
              Program().RarPath + " a -m5 -ep \"" + base + ".cd1.rar\" \"" + base + ".cd1.sub\"");
    EXPECT_EQ(calls[4], "rundll32 " + Program().VobSubPath + ",Cutter " + base + " " + base +
                            ".cd2 1 " + cut1 + " 00:00:54.000");
    EXPECT_TRUE(platform::FileExists(base + ".cd2.rar"));
    EXPECT_EQ(Only(Logged(*run), "Splitting and"),
              Strings(2, "Splitting and compressing subtitles."));
}

TEST_F(Split, SmallDamagedOrNonCdOutputsAreLeftWhole) {
    TEncRecord job = Job();
    job.TargetSize = 1400;
    WriteMovie(Output(), 20);
    EXPECT_EQ(Logged(*SplitJob(job)), Strings{"No splitting required"});

    dir.Write("out/film.avi", std::string(4000, 'x'));
    EXPECT_EQ(Logged(*SplitJob(job)), Strings{"Error splitting file"});

    for (int32_t target : {700, 0}) {
        job.TargetSize = target;
        EXPECT_TRUE(Logged(*SplitJob(job)).empty());
    }
    EXPECT_TRUE(Calls().empty());
}

}  // namespace
