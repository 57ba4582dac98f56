#include <filesystem>

#include "encoder/StageTestSupport.h"
#include "encoder/rules/Budget.h"

namespace {

using Strings = std::vector<std::string>;

TEST(Budget, FrameRateOfTheOutput) {
    EXPECT_EQ(OutputFrameRate(false, stFilm), 25);
    for (uint8_t t : {stForcedFilm, stFilm, stHybridFilm})
        EXPECT_EQ(OutputFrameRate(true, t), 23.976);
    for (uint8_t t : {stProgressive, stInterlaced, stHybridVideo})
        EXPECT_EQ(OutputFrameRate(true, t), 29.97);
}

TEST(Budget, OverheadUnitsPerAudioModeTrackCountAndCodec) {
    TBudgetInput pal;
    pal.HasAudio = true;
    pal.FrameCount = 150000;
    pal.AudioMode = kAudioAC3;
    const struct {
        const char* what;
        uint8_t mode;
        bool autoAudio, divx;
        int64_t audio2;
        uint8_t mode2;
        double rate;
        int64_t units;
    } cases[] = {
        {"AC3, 7812.5 rounds to even", kAudioAC3, false, false, 0, 0, 25, 7812},
        {"CBR", kAudioCbrMp3, false, false, 0, 0, 25, 13916},
        {"VBR", kAudioVbrMp3, false, false, 0, 0, 25, 46875},
        {"two tracks chosen", kAudioAC3, false, false, 1, 0, 25, 15624},
        {"two tracks automatic", kAudioAC3, true, false, 1, 0, 25, 7812 + 46875},
        {"an LPCM second track made VBR", kAudioAC3, false, false, 1, kAudioVbrMp3, 25,
         7812 + 46875},
        {"DivX", kAudioAC3, false, true, 0, 0, 25, 7812 + 28734},
        {"NTSC FILM", kAudioAC3, false, false, 0, 0, 23.976, 8146},
        {"NTSC video", kAudioAC3, false, false, 0, 0, 29.97, 6517},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TBudgetInput in = pal;
        in.AudioMode = c.mode;
        in.AutoAudio = c.autoAudio;
        in.DivX = c.divx;
        in.Audio2Size = c.audio2;
        in.Audio2Mode = c.mode2;
        in.FrameRate = c.rate;
        EXPECT_EQ(OverheadUnits(in), c.units);
    }
    TBudgetInput silent = pal;
    silent.HasAudio = false;
    EXPECT_EQ(OverheadUnits(silent), 0);
    silent.DivX = true;
    EXPECT_EQ(OverheadUnits(silent), 28734);
}

TEST(Budget, TheWorkedExampleOfTwoCdsWithAc3) {
    TBudgetInput in;
    in.TargetSize = 1400;
    in.HasAudio = true;
    in.AudioMode = kAudioAC3;
    in.AudioSize = 336000000;
    in.FrameCount = 150000;
    const TBudget b = ComputeVideoBudget(in);
    EXPECT_EQ(b.OverheadUnits * 128, 999936);
    EXPECT_EQ(b.VideoSize, 1131006464);
    EXPECT_EQ(b.DesiredSize, 1104498);  // 1104498.5 rounds to even
    EXPECT_NEAR(b.Bitrate, 1508.0086, 1e-4);
}

class BudgetStage : public StageTest {
  protected:
    // A run as the audio stage leaves it: AC3 chosen automatically, one file of `bytes`.
    std::unique_ptr<TMXEncoder> Prepared(TEncRecord job, int64_t bytes) {
        auto run = Run(job);
        run->Source.FrameCount = 150000;
        run->Audio.AutoAudio = true;
        run->Settings.AudioMode = kAudioAC3;
        run->Audio.EncodedAudioFile = Temp("film T01.ac3");
        dir.Write("out/mx_tmp/film T01.ac3", "");
        std::filesystem::resize_file(run->Audio.EncodedAudioFile, uint64_t(bytes));
        return run;
    }
    std::string Error(TMXEncoder& run) {
        try {
            kComputeBudget.Work(run);
        } catch (const std::exception& e) {
            return e.what();
        }
        return "(none)";
    }
};

TEST_F(BudgetStage, XviDGetsTheVideoSizeInKibAndNoBitrateLine) {
    TEncRecord job = Job();
    job.TargetSize = 1400;
    auto run = Prepared(job, 336000000);
    kComputeBudget.Work(*run);
    EXPECT_EQ(Logged(*run), (Strings{"Audio size: 336,000,000 bytes (320.43 Mb)",
                                     "Overhead: 999,936 bytes (0.95 Mb)",
                                     "Video size: 1,131,006,464 bytes (1078.61 Mb)"}));
    EXPECT_EQ(run->Budget.VideoSize, 1131006464);
    EXPECT_EQ(run->Plan.XviDParams.DesiredSize, 1104498);
    EXPECT_EQ(run->Plan.DivXParams.TargetBitrate, 0);
}

TEST_F(BudgetStage, DivXAddsItsOverheadAndGetsABitrate) {
    TEncRecord job = Job();
    job.TargetSize = 1400;
    job.Codec = kCodecDivX;
    auto run = Prepared(job, 336000000);
    kComputeBudget.Work(*run);
    const Strings log = Logged(*run);
    ASSERT_EQ(log.size(), 4u);
    EXPECT_EQ(log[1], "Overhead: 4,677,888 bytes (4.46 Mb)");  // (7812 + 28734) x 128
    // 1,127,328,512 bytes over 6000 s
    EXPECT_EQ(log[3], "Target bitrate is: 1503kbps");
    EXPECT_EQ(run->Plan.DivXParams.TargetBitrate, 1503105);
}

TEST_F(BudgetStage, SecondTrackAndExternalSubtitlesCount) {
    TEncRecord job = Job();
    job.TargetSize = 1400;
    job.AudioTrack2 = 1;
    job.SubTrack = 0;
    job.ExternalSubs = true;
    dir.Write("out/film.idx", std::string(1000, 'i'));
    dir.Write("out/film.rar", std::string(24, 'r'));
    auto run = Prepared(job, 1000000);
    run->Audio.EncodedAudioFile2 = dir.Write("out/mx_tmp/film T03.mp3", std::string(5000, 'm'));
    kComputeBudget.Work(*run);
    EXPECT_TRUE(run->Audio.HasAudio2);
    EXPECT_EQ(run->Budget.SubtitleSize, 1024);
    const int64_t overhead = 128 * (7812 + 46875);
    EXPECT_EQ(run->Budget.VideoSize, 1400 * kMegabyte - overhead - 1000000 - 5000 - 1024);
    EXPECT_EQ(Logged(*run)[1], "Audio 2 size: 5,000 bytes (0.00 Mb)");
    EXPECT_EQ(Logged(*run)[3], "Subtitles size: 1,024 bytes (0.00 Mb)");
}

TEST_F(BudgetStage, AMissingSecondTrackIsSwitchedOffForTheRestOfTheJob) {
    TEncRecord job = Job();
    job.TargetSize = 700;
    job.AudioTrack2 = 1;
    auto run = Prepared(job, 1000);
    run->Audio.EncodedAudioFile2 = Temp("film T03.mp3");
    kComputeBudget.Work(*run);
    EXPECT_EQ(Logged(*run)[1], "Audio 2 is not found. Switching it off.");
    EXPECT_EQ(run->Settings.AudioTrack2, -1);
    EXPECT_EQ(run->Audio.EncodedAudioFile2, "");
    EXPECT_FALSE(run->Audio.HasAudio2);
    EXPECT_EQ(run->Budget.VideoSize, 700 * kMegabyte - 999936 - 1000);
}

TEST_F(BudgetStage, TheTwoErrorsAndQualityMode) {
    TEncRecord job = Job();
    job.TargetSize = 1400;
    auto run = Prepared(job, 1000);
    run->Audio.EncodedAudioFile = Temp("film T01.mp3");
    EXPECT_EQ(Error(*run), "Audio is not found. Encoding aborted.");

    job.TargetSize = 300;
    run = Prepared(job, 320 * kMegabyte);
    EXPECT_EQ(Error(*run), "Audio and overhead size is more than target video size!");
    EXPECT_EQ(Logged(*run).size(), 2u);  // audio and overhead, no video size

    job.TargetSize = 0;  // quality mode
    run = Prepared(job, 1000);
    run->Audio.EncodedAudioFile.clear();
    kComputeBudget.Work(*run);
    EXPECT_TRUE(Logged(*run).empty());
}

TEST_F(BudgetStage, ATitleWithoutFramesHasNoDivXBitrate) {
    TEncRecord job = Job();
    job.TargetSize = 700;
    job.Codec = kCodecDivX;
    auto run = Prepared(job, 1000);
    run->Source.FrameCount = 0;
    EXPECT_EQ(Error(*run), "The target bitrate cannot be computed for 0 frames.");
}

}  // namespace
