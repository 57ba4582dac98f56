// The planner's codec runs on the installed job runner with both codecs: the compressibility
// test and its measurement, the single pass of quality mode, and the two passes of size mode,
// each as the planner writes its scripts, codec settings and job.
#include <filesystem>

#include "JobRunnerRun.h"
#include "encoder/encoder.h"
#include "encoder/stages/Stages.h"
#include "jobs/ProgramValues.h"
#include "platform/files.h"

namespace {

using namespace jobrunner_test;

constexpr int64_t kFrames = 200;

class Stages : public JobRunnerTest {
  protected:
    void SetUp() override {
        JobRunnerTest::SetUp();
        if (IsSkipped()) return;
        saved_ = Program();
        Program().ProgramDir = dir_.Path();
        Program().VDubModPath = JobRunnerPath();
        Program().NewXviD = true;
        Program().HasSSE = true;
        RunState().AbortRequested = false;
    }
    void TearDown() override {
        if (!saved_.ProgramDir.empty()) Program() = saved_;
    }

    // A PAL job on the sync title with its AC3 track, up to the codec runs.
    std::unique_ptr<TMXEncoder> Job(uint8_t codec, bool qualityMode = false) {
        TEncRecord job = InitialEncSettings();
        job.QualityMode = qualityMode;
        job.Quality = 80;
        job.InputDir = dir_.Path();
        job.OutputFile = File("out/film.avi");
        job.Codec = codec;
        job.VobInfo.Valid = true;
        job.VobInfo.AddAudio({0, "English", "2ch", "AC3", 0});
        job.AudioTrack = 0;
        job.AudioMode = kAudioAC3;
        auto run = std::make_unique<TMXEncoder>(job, false);
        EXPECT_TRUE(platform::ForceDirectories(run->TempFolder()));
        run->Source.D2VFile = Media("flash.y4m");
        run->Source.FrameCount = kFrames;
        run->Source.SourceType = stProgressive;
        run->Audio.EncodedAudioFile = Media("flash T01 AC3 2ch 48kHz 192Kbps DELAY 0ms.ac3");
        run->Plan.XviDParams.MaxKeyInterval = run->Plan.DivXParams.MaxKeyInterval = 250;
        kChooseInitialSettings.Work(*run);
        run->Plan.OutWidth = 352;  // the title's own width: no time spent on scaling up
        return run;
    }
    static int64_t VideoBytes(const std::string& avi) {
        std::istringstream sizes(Shell("ffprobe -v error -select_streams v -show_entries "
                                       "packet=size -of csv=p=0 " +
                                       Quoted(avi))
                                     .output);
        int64_t sum = 0;
        for (int64_t size; sizes >> size;) sum += size;
        return sum;
    }

    TProgramValues saved_;
};

TEST_F(Stages, CompressibilityTestAndItsMeasurement) {
    for (uint8_t codec : {kCodecXviD, kCodecDivX}) {
        SCOPED_TRACE(int(codec));
        auto run = Job(codec);
        run->Budget.VideoSize = 400000;
        kRunCompTest.Work(*run);
        kMeasureCompTest.Work(*run);
        // The test serves the first sample of each cycle of 20; the title holds one.
        const std::string test = run->TempFile("_comptest.avi");
        EXPECT_EQ(Probe(test, "stream=nb_frames"), std::to_string(run->CompTest.CompCycle));
        const std::string size = Probe(test, "stream=width,height");
        EXPECT_DOUBLE_EQ(run->CompTest.CompAspect,
                         std::stod(size) / std::stod(size.substr(size.find('|') + 1)));
        EXPECT_GT(run->CompTest.CompRatio, 0);
    }
}

TEST_F(Stages, SinglePassAndTwoPassesWithBothCodecs) {
    for (uint8_t codec : {kCodecXviD, kCodecDivX}) {
        SCOPED_TRACE(int(codec));
        auto quality = Job(codec, true);
        kRunSinglePass.Work(*quality);
        const std::string out = quality->Settings.OutputFile;
        EXPECT_EQ(Probe(out, "stream=codec_name"), "mpeg4|ac3");
        EXPECT_EQ(Probe(out, "stream=nb_frames").substr(0, 4), "200|");
        const int64_t single = VideoBytes(out);

        // Two passes aimed at three quarters of what the single pass took.
        auto run = Job(codec);
        run->Budget.VideoSize = single * 3 / 4;
        run->Plan.XviDParams.DesiredSize = int32_t(run->Budget.VideoSize / 1024);
        run->Plan.DivXParams.TargetBitrate = int32_t(run->Budget.VideoSize * 8 * 25 / kFrames);
        kRunFirstPass.Work(*run);
        kRunSecondPass.Work(*run);
        EXPECT_EQ(Probe(out, "stream=codec_name"), "mpeg4|ac3");
        const double share = double(VideoBytes(out)) / double(run->Budget.VideoSize);
        EXPECT_GT(share, 0.90);
        EXPECT_LT(share, 1.02);
        EXPECT_EQ(DecodeProblems(out), "");
    }
}

}  // namespace
