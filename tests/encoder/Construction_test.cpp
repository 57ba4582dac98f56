#include <gtest/gtest.h>

#include <array>

#include "encoder/EncoderTestSupport.h"
#include "platform/files.h"
#include "scripts/avs.h"

namespace {

using Construction = EncoderTest;

TEST_F(Construction, ANormalRunStartsFromAnEmptyTemporaryFolderBesideTheOutput) {
    dir.Write("out/mx_tmp/old/stale.d2v", "x");
    TMXEncoder run(TestJob(Output()), false);
    const std::string temp = dir.File("out/mx_tmp/");
    EXPECT_EQ(run.TempFolder(), temp);
    EXPECT_TRUE(platform::DirectoryExists(dir.File("out/mx_tmp")));
    EXPECT_FALSE(platform::DirectoryExists(dir.File("out/mx_tmp/old")));
    EXPECT_EQ(run.TempBase, temp + "film.avi");
    EXPECT_EQ(run.TempFile("_preview.avs"), temp + "film_preview.avs");
    EXPECT_EQ(run.JobScriptFile, temp + "lastjob.vcf");
    EXPECT_EQ(run.JobLogFile(), dir.File("out/film_mx.log"));
    EXPECT_FALSE(run.PreviewMode);
    EXPECT_TRUE(run.JobLog.empty());
}

TEST_F(Construction, APreviewKeepsWhatThePreviousPreviewLeftAndReusesItsFiles) {
    const std::string index = dir.File("out/mx_tmp/film_preview.d2v");
    const std::string subs = dir.File("out/mx_tmp/film.idx");
    dir.Write("out/mx_tmp/film_preview.d2v", "x");
    dir.Write("out/mx_tmp/film.idx", "x");
    RunState().PreviewIndexFile.Set(index);
    RunState().PreviewSubsFile.Set(subs);
    TEncRecord job = TestJob(Output());
    job.SubTrack = 0;
    {
        TMXEncoder run(job, true);
        EXPECT_TRUE(platform::FileExists(index));
        EXPECT_EQ(run.D2VFile, index);
        EXPECT_EQ(run.VobSubFile, subs);
        EXPECT_TRUE(run.PreviewMode);
    }
    job.SubTrack = -1;  // subtitles switched off: none drawn in, the file kept for later
    EXPECT_EQ(TMXEncoder(job, true).VobSubFile, "");
    EXPECT_EQ(RunState().PreviewSubsFile.Get(), subs);

    // A normal job takes neither; the files it deleted are forgotten for the next preview.
    job.SubTrack = 0;
    TMXEncoder normal(job, false);
    EXPECT_EQ(normal.D2VFile, "");
    EXPECT_EQ(normal.VobSubFile, "");
    EXPECT_FALSE(platform::FileExists(index));
    TMXEncoder next(job, true);
    EXPECT_EQ(next.D2VFile, "");
    EXPECT_EQ(next.VobSubFile, "");
    EXPECT_EQ(RunState().PreviewIndexFile.Get(), "");
    EXPECT_EQ(RunState().PreviewSubsFile.Get(), "");
}

TEST_F(Construction, FieldsTakenFromTheJobAndTheProgram) {
    TEncRecord job = TestJob(Output());
    job.AudioTrack = 1;  // stream id 2
    job.Codec = kCodecDivX;
    Program().HasSSE = true;
    TMXEncoder run(job, false);
    EXPECT_EQ(run.AudioTrackNumber, 3);
    EXPECT_EQ(run.AudioTrackNumber2, 0);
    EXPECT_EQ(run.CompCycle, 14);
    EXPECT_EQ(run.IdctChoice, 2);
    EXPECT_EQ(run.Settings.TargetSize, 700);
    EXPECT_FALSE(run.Settings.QualityMode);
    EXPECT_EQ(run.HybridThreshold, 0);
    EXPECT_EQ(run.CombDelta, 0);
    EXPECT_TRUE(run.EncodedAudioFile.empty() && run.DemuxedAudioFile2.empty());

    Program().HasSSE2 = true;
    job.Codec = kCodecXviD;
    job.TargetSize = 0;  // no size limit: the best quality
    TMXEncoder best(job, false);
    EXPECT_EQ(best.IdctChoice, 3);
    EXPECT_EQ(best.CompCycle, 15);
    EXPECT_TRUE(best.Settings.QualityMode);
    EXPECT_EQ(best.Settings.Quality, 100);
}

TEST_F(Construction, CorrectionFactorsFollowTheInstalledXviD) {
    using Factors = std::array<double, 6>;
    auto factorsOf = [](const TMXEncoder& r) {
        return Factors{r.XviDBFramesFactor,    r.XviDMatrixFactor,    r.XviDResizerFactor,
                       r.XviDEssBFramesFactor, r.XviDEssMatrixFactor, r.XviDEssResizerFactor};
    };
    Program().NewXviD = true;
    EXPECT_EQ(factorsOf(TMXEncoder(TestJob(Output()), true)),
              (Factors{0.74, 0.862, 0.953, 0.746, 0.906, 0.94}));
    Program().NewXviD = false;
    EXPECT_EQ(factorsOf(TMXEncoder(TestJob(Output()), true)),
              (Factors{0.745, 0.855, 0.952, 0.768, 0.904, 0.939}));
}

}  // namespace

namespace {

TEST_F(Construction, ThePreviewScriptIsTheMovieScriptOfTheRunsValues) {
    TMXEncoder run(TestJob(Output()), true);
    run.D2VFile = "/tmp/film_preview.d2v";
    run.OutWidth = 512;
    run.HybridThreshold = 1.25;
    run.ResizeTemplate = "BicubicResize(%s,%s,0,0.5)";
    run.VobSubFile = "/tmp/film.idx";
    run.SourceType = 4;
    run.PixelAspect = 1.0940170940170941;
    TMovieScriptParams values{run.D2VFile,        run.OutWidth,   run.HybridThreshold,
                              run.ResizeTemplate, run.VobSubFile, run.SourceType,
                              run.PixelAspect,    run.CompCycle};
    TScriptLines expected;
    MakeMovieScript(expected, values, TMovieScriptUse::Preview);
    EXPECT_EQ(run.PreviewScript(), expected);
}

}  // namespace
