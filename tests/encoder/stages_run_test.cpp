// A whole job through the stages of this folder with stand-in tools: the analysis, test and
// pass stages are replaced by stand-ins that leave what they would leave.
#include "avi/AviTestFile.h"
#include "encoder/StageTestSupport.h"

namespace {

using Strings = std::vector<std::string>;

// The job log without the script echoes (caption, frame, lines, frame).
Strings WithoutEchoes(const Strings& log) {
    Strings out;
    bool inEcho = false;
    for (const std::string& line : log) {
        if (line.rfind("Writing the following script to ", 0) == 0) continue;
        if (line == std::string(59, '=')) {
            inEcho = !inEcho;
            continue;
        }
        if (!inEcho) out.push_back(line);
    }
    return out;
}

class WholeRun : public StageTest {
  protected:
    TStageTable Stages() {
        TStageTable s = TStageTable();
        s.Replace(kDetectFieldOrder, [](TRun& e) { e.Source.FrameCount = 1350; });
        s.Replace(kChooseInitialSettings, [](TRun& e) { e.Plan.OutWidth = 640; });
        s.Replace(kRunCompTest, [](TRun&) {});
        s.Replace(kMeasureCompTest, [](TRun& e) { e.CompTest.CompRatio = 0.8; });
        s.Replace(kAdjustAfterCompTest, [](TRun&) {});
        s.Replace(kHeightForWidth, [](TRun& e) { e.Plan.OutHeight = 272; });
        s.Replace(kRunFirstPass, [](TRun&) {});
        s.Replace(kRunSecondPass, [](TRun& e) {
            avitest::AviPlan plan;
            std::string keys;
            for (int i = 0; i < 1350; ++i) keys += i % 25 == 0 ? 'K' : '.';
            plan.chunks = avitest::Frames(keys, 1048576);
            plan.sparse = true;
            avitest::MakeAvi(plan).bytes.WriteTo(e.Settings.OutputFile);
        });
        return s;
    }
};

TEST_F(WholeRun, FromIndexingThroughTheBudgetToTwoCdsWithExternalSubtitles) {
    TEncRecord job = Job();
    job.TargetSize = 1400;
    job.AudioMode = kAudioVbrMp3;
    job.AudioBitrate = 128;
    job.SubTrack = 0;
    job.ExternalSubs = true;
    TMXEncoder run(job, false);
    run.SetStages(Stages());
    run.Start();
    run.WaitFor();
    const Strings log = WithoutEchoes(Messages([&] {
        std::istringstream in(testing_support::ReadAll(run.JobLogFile()));
        Strings lines;
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }()));
    auto from = std::find(log.begin(), log.end(), "Started encoding.");
    ASSERT_NE(from, log.end());
    const Strings steps(from, log.end());
    ASSERT_EQ(steps.size(), 20u) << testing::PrintToString(steps);
    EXPECT_EQ(Strings(steps.begin(), steps.begin() + 7),
              (Strings{"Started encoding.", "Demuxing and indexing.", "Encoding audio.",
                       "Indexing subtitles.", "Compressing subtitles.",
                       "Audio size: 500 bytes (0.00 Mb)", "Overhead: 54,016 bytes (0.05 Mb)"}));
    EXPECT_EQ(steps[7].rfind("Subtitles size: ", 0), 0u);
    EXPECT_EQ(steps[8].rfind("Video size: 1,467,", 0), 0u) << steps[8];
    const std::string out = dir.File("out/film");
    EXPECT_EQ(Strings(steps.begin() + 14, steps.end()),
              (Strings{"Running second pass.", "Splitting video into: " + out + ".cd1.avi",
                       "Splitting and compressing subtitles.",
                       "Splitting video into: " + out + ".cd2.avi",
                       "Splitting and compressing subtitles.", "Job finished."}))
        << testing::PrintToString(steps);
    for (const char* ext :
         {".cd1.avi", ".cd1.idx", ".cd1.sub", ".cd1.rar", ".cd2.avi", ".cd2.rar", ".idx", ".rar"})
        EXPECT_TRUE(platform::FileExists(out + ext)) << ext;
    EXPECT_EQ(run.Plan.XviDParams.DesiredSize, int32_t((run.Budget.VideoSize + 512) / 1024));
}

}  // namespace
