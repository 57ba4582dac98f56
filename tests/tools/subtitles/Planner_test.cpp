// The planner's subtitle stage and its two-CD split on the installed subtitle library, launcher
// and archiver, on the authored title: what they leave is judged by ffmpeg's vobsub demuxer and
// bsdtar. The job runner that writes the video parts is still the test stand-in.
#include <gtest/gtest.h>

#include "PairReading.h"
#include "TitleCase.h"
#include "avi/AviTestFile.h"
#include "encoder/EncoderTestSupport.h"
#include "encoder/stages/Stages.h"
#include "platform/files.h"

namespace {

using subtitletest::kAuthored;
using subtitletest::kSecondCellMs;

class PlannerStages : public subtitletest::TitleCase {
  protected:
    void SetUp() override {
        TitleCase::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        saved_ = Program();
        Program().ProgramDir = dist_;
        Program().VobSubPath = dist_ + "/system/vobsub.dll";
        Program().RarPath = dist_ + "/WinRAR/rar.exe";
        Program().VDubModPath = std::string(MOVREX_TEST_HELPER_DIR) + "/fake_vdub";
        RunState().AbortRequested = false;
        ASSERT_TRUE(platform::ForceDirectories(dir_.File("out")));
    }
    void TearDown() override { Program() = saved_; }

    // English and German subtitles of the title, into "out/Der Film ä.avi" (the planner names the
    // cutter's files without quotes).
    std::unique_ptr<TMXEncoder> Job(bool external, int32_t targetSize) {
        TEncRecord job = TestJob(Output());
        job.InputDir = rip_;
        job.VobInfo.FirstVob = "VTS_01_1.VOB";
        job.SubTrack = 0;
        job.SubTrack2 = 1;
        job.ExternalSubs = external;
        job.ForcedSubsOnly = !external;
        job.TargetSize = targetSize;
        auto run = std::make_unique<TMXEncoder>(job, false);
        EXPECT_TRUE(platform::ForceDirectories(run->TempFolder()));
        return run;
    }
    std::string Output() const { return dir_.File("out/Der Film ä.avi"); }
    // The bitmap file inside an archive, as bsdtar extracts it.
    static std::string Unpacked(const std::string& rar, const std::string& entry) {
        const auto x = tooltest::Run({"bsdtar", "-xOf", rar, entry});
        EXPECT_EQ(x.status, 0) << x.output;
        return x.output;
    }

    testing_support::ScopedEnv system_{"MOVREX_SYSTEM_DIR", dist_ + "/system"};

  private:
    TProgramValues saved_;
};

TEST_F(PlannerStages, InternalSubtitlesStayForTheScriptWithTheHeaderEdited) {
    auto run = Job(false, 700);
    kExtractSubtitles.Work(*run);
    EXPECT_EQ(run->Source.VobSubFile, run->TempFolder() + "Der Film ä.idx");
    const std::string idx = testing_support::ReadAll(run->Source.VobSubFile);
    EXPECT_NE(idx.find("\r\nlangidx: 0\r\n"), std::string::npos);
    EXPECT_NE(idx.find("\r\nforced subs: ON\r\n"), std::string::npos);
    const subtitletest::SeenPair pair = subtitletest::ReadPairWithFfmpeg(run->Source.VobSubFile);
    EXPECT_EQ(pair.error, "");
    EXPECT_EQ(pair.subpictures.size(), 5u);
    EXPECT_FALSE(platform::FileExists(dir_.File("out/Der Film ä.idx")));
}

// External subtitles leave the index and an archive of the bitmaps beside the AVI; two CDs cut
// them where the video is cut (frame 50: 2 s, the start of the second cell).
TEST_F(PlannerStages, ExternalSubtitlesAreDeliveredAndCutWithTheTwoCdParts) {
    auto run = Job(true, 1400);
    kExtractSubtitles.Work(*run);
    EXPECT_EQ(run->Source.VobSubFile, "");
    const std::string sub = testing_support::ReadAll(run->TempFolder() + "Der Film ä.sub");
    ASSERT_FALSE(sub.empty());
    EXPECT_TRUE(platform::FileExists(dir_.File("out/Der Film ä.idx")));
    EXPECT_TRUE(Unpacked(dir_.File("out/Der Film ä.rar"), "Der Film ä.sub") == sub);

    // 4 s of frames of 14 MB, a key frame every second: the first CD takes 52 of them.
    std::string keys;
    for (int i = 0; i < 100; ++i) keys += i % 25 ? '.' : 'K';
    avitest::AviPlan plan;
    plan.chunks = avitest::Frames(keys, 14000000);
    plan.sparse = true;
    avitest::MakeAvi(plan).bytes.WriteTo(Output());
    kSplitOutput.Work(*run);
    const std::string part1 = dir_.File("out/Der Film ä.cd1"),
                      part2 = dir_.File("out/Der Film ä.cd2");
    const auto first = subtitletest::ReadPairWithFfmpeg(part1 + ".idx");
    const auto second = subtitletest::ReadPairWithFfmpeg(part2 + ".idx");
    ASSERT_EQ(first.error + second.error, "");
    EXPECT_EQ(first.subpictures.size() + second.subpictures.size(), 5u);
    for (const auto& a : kAuthored) {
        if (a.stream > 1) continue;
        const bool later = a.ms >= kSecondCellMs;
        const auto& part = later ? second.subpictures : first.subpictures;
        const int64_t ms = later ? a.ms - kSecondCellMs : a.ms;
        EXPECT_TRUE(std::any_of(part.begin(), part.end(),
                                [&](const auto& s) {
                                    return s.stream == a.stream && s.ms == ms &&
                                           s.yellow == a.yellow;
                                }))
            << "stream " << a.stream << " at " << a.ms;
    }
    for (const std::string& part : {part1, part2})
        EXPECT_TRUE(Unpacked(part + ".rar", std::filesystem::path(part).filename().string() +
                                                ".sub") == testing_support::ReadAll(part + ".sub"))
            << part;
}

}  // namespace
