// Whole runs with the fake job runner: a size-mode and a quality-mode job from the index to the
// output file, told by the job log line by line. The stages outside the analysis and encoding
// (indexing, audio, budget, split) are stood in for with what they leave.
#include <gtest/gtest.h>

#include "DecideFakes.h"

namespace {

using Strings = std::vector<std::string>;

class DecideWholeRun : public DecideRunTest {
  protected:
    // Stand-ins for the stages this test is not about.
    TStageTable Stages(const std::string& index, int64_t videoSize) {
        TStageTable s = TStageTable();
        s.Replace(kIndexForEncoding, [index](TRun& e) {
            e.Source.D2VFile = e.TempFile(".d2v");
            ASSERT_TRUE(platform::WriteFileText(e.Source.D2VFile, index));
        });
        s.Replace(kEncodeAudio, [](TRun& e) { e.Audio.EncodedAudioFile = e.TempFile(".ac3"); });
        s.Replace(kComputeBudget, [videoSize](TRun& e) { e.Budget.VideoSize = videoSize; });
        s.Replace(kSplitOutput, [](TRun&) {});
        return s;
    }
    // The story from "Started encoding." on, the timings reduced to their captions.
    static Strings FromStart(const Strings& log) {
        Strings story = Story(log), out;
        bool started = false;
        for (std::string line : story) {
            started = started || line == "Started encoding.";
            if (!started) continue;
            for (const char* timing : {"Duration was: ", "Speed was: "})
                if (line.rfind(timing, 0) == 0) line = timing;
            out.push_back(line);
        }
        return out;
    }
    std::string Writing(const std::string& path) {
        return "Writing the following script to " + path;
    }
};

TEST_F(DecideWholeRun, SizeModeXviD) {
    Prepare("interlace1.log", LogText(Marks(CombedShare(0))));
    Prepare("comptest.frames", FramesLog(std::vector<int64_t>(30, 4352)));  // 0.2 bit/pixel
    const int64_t videoSize = 34811519;  // 27852 bits per frame: R 0.79997 at 640x272
    Prepare("pass.frames", FramesLog({videoSize / 2, videoSize - videoSize / 2}));
    Prepare("out.avi", TinyAvi(640, 272));
    TEncRecord job = TestJob(Output());
    job.AudioMode = kAudioAC3;
    TMXEncoder run(job, false);
    run.SetStages(Stages(IndexText(10, 1000, "FINISHED 0.00% FILM"), videoSize));
    const std::string jobFile = run.JobScriptFile;
    run.Execute();
    const std::string vdub = Program().VDubModPath;
    const std::string frames = run.TempFolder() + "frames.log";
    EXPECT_EQ(Calls(), (Strings{vdub + " /nowrite /x /s\"" + jobFile + "\"",
                                vdub + " /log\"" + frames + "\" /x /s\"" + jobFile + "\"",
                                vdub + " /log\"" + frames + "\" /x /s\"" + jobFile + "\"",
                                vdub + " /x /s\"" + jobFile + "\""}));
    EXPECT_EQ(FromStart(LoadTextLines(run.JobLogFile())),
              (Strings{"Started encoding.",
                       "Demuxing and indexing.",
                       "Analyzing source.",
                       Writing(jobFile),
                       "Source has percentage of interlacing in motion areas: 0.00",
                       "Source is considered to be progressive.",
                       "Found 9999 frames",
                       "Running compressibility test.",
                       Writing(run.TempFile("_comptest.avs")),
                       Writing(jobFile),
                       "Duration was: ",
                       "Speed was: ",
                       "Compressibility percentage is: 80.00",
                       "Chosen resolution is: 640x272 ( AR: 2.35 )",
                       "Predicted comptest value is: 80.00",
                       "Running first pass.",
                       Writing(run.TempFile("_movie.avs")),
                       Writing(jobFile),
                       "Duration was: ",
                       "Speed was: ",
                       "Expected quality of first pass size: 100.00",
                       "Running second pass.",
                       Writing(jobFile),
                       "Duration was: ",
                       "Speed was: ",
                       "Job finished."}));
    EXPECT_EQ(run.Plan.OutWidth, 640);
    EXPECT_EQ(run.Plan.XviDParams.Mode, 5);  // second pass, older XviD
    EXPECT_EQ(run.Plan.XviDParams.MaxIQuant, 3);
    EXPECT_EQ(run.Plan.XviDParams.MaxKeyInterval, 250);
    EXPECT_FALSE(run.Plan.XviDParams.FixedQuant2);
    EXPECT_TRUE(platform::FileExists(Output()));
    EXPECT_TRUE(platform::FileExists(run.TempFile("_movie.avs")));
}

TEST_F(DecideWholeRun, QualityModeDivXOnPureFilm) {
    Prepare("out.avi", TinyAvi(704, 400));
    TEncRecord job = TestJob(Output());
    job.AudioMode = kAudioAC3;
    job.Codec = kCodecDivX;
    job.QualityMode = true;
    job.Quality = 75;
    job.VobInfo.Video.IsNTSC = true;
    job.VobInfo.Video.Widescreen = true;
    TMXEncoder run(job, false);
    run.SetStages(Stages(IndexText(10, 1000, "FINISHED  99.83% FILM"), 0));
    const std::string jobFile = run.JobScriptFile;
    run.Execute();
    EXPECT_EQ(Calls(), Strings{Program().VDubModPath + " /x /s\"" + jobFile + "\""});
    EXPECT_EQ(FromStart(LoadTextLines(run.JobLogFile())),
              (Strings{"Started encoding.", "Demuxing and indexing.",
                       "Source seems to be pure FILM.", "Found 9996 frames",
                       "Running single pass encoding.", Writing(run.TempFile("_movie.avs")),
                       Writing(jobFile), "Duration was: ", "Speed was: ", "Job finished."}));
    EXPECT_EQ(run.Source.SourceType, stForcedFilm);
    EXPECT_EQ(run.Plan.OutWidth, 704);
    EXPECT_DOUBLE_EQ(run.Plan.PixelAspect, 72.0 / 79.0 * 4 / 3);
    EXPECT_EQ(run.Plan.DivXParams.VbrMode, 1);
    EXPECT_EQ(run.Plan.DivXParams.VbrQuality, 27);
    EXPECT_EQ(run.Plan.DivXParams.MaxKeyInterval, 240);
    EXPECT_TRUE(platform::FileExists(Output()));
}

}  // namespace
