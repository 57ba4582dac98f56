#include <gtest/gtest.h>

#include "encoder/EncoderTestSupport.h"
#include "platform/files.h"
#include "platform/system.h"
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

// Jobs running at once in one output folder would share its temporary folder: the one that
// holds the folder keeps it, another is refused before it deletes anything.
TEST_F(Construction, ANormalRunLeavesATemporaryFolderInUseAlone) {
    dir.Write("out/mx_tmp/film.d2v", "x");
    {
        platform::FolderLock other(dir.File("out"));
        TMXEncoder refused(TestJob(Output()), false);
        EXPECT_EQ(refused.TempFolderError(),
                  "The temporary folder " + dir.File("out/mx_tmp") +
                      " is in use by another job; jobs that run at once need output files in "
                      "different folders.");
        EXPECT_TRUE(platform::FileExists(dir.File("out/mx_tmp/film.d2v")));
    }
    TMXEncoder free(TestJob(Output()), false);
    EXPECT_EQ(free.TempFolderError(), "");
    EXPECT_FALSE(platform::FileExists(dir.File("out/mx_tmp/film.d2v")));
}

TEST_F(Construction, APreviewKeepsWhatThePreviousPreviewLeftAndReusesItsFiles) {
    const std::string index = dir.File("out/mx_preview/film_preview.d2v");
    const std::string subs = dir.File("out/mx_preview/film.idx");
    dir.Write("out/mx_preview/film_preview.d2v", "x");
    dir.Write("out/mx_preview/film.idx", "x");
    RunState().PreviewIndexFile.Set(index);
    RunState().PreviewSubsFile.Set(subs);
    TEncRecord job = TestJob(Output());
    job.SubTrack = 0;
    {
        TMXEncoder run(job, true);
        EXPECT_TRUE(platform::FileExists(index));
        EXPECT_EQ(run.Source.D2VFile, index);
        EXPECT_EQ(run.Source.VobSubFile, subs);
        EXPECT_TRUE(run.PreviewMode);
    }
    job.SubTrack = -1;  // subtitles switched off: none drawn in, the file kept for later
    EXPECT_EQ(TMXEncoder(job, true).Source.VobSubFile, "");
    EXPECT_EQ(RunState().PreviewSubsFile.Get(), subs);

    // A normal job (one queued for the same output, say) takes neither and empties a folder of
    // its own: the files the player may still show stay, and the next preview takes them again.
    job.SubTrack = 0;
    TMXEncoder normal(job, false);
    EXPECT_EQ(normal.Source.D2VFile, "");
    EXPECT_EQ(normal.Source.VobSubFile, "");
    EXPECT_TRUE(platform::FileExists(index) && platform::FileExists(subs));
    EXPECT_EQ(TMXEncoder(job, true).Source.D2VFile, index);
    // Files that have gone are forgotten for the next preview.
    platform::DeleteTree(dir.File("out/mx_preview"));
    TMXEncoder next(job, true);
    EXPECT_EQ(next.Source.D2VFile, "");
    EXPECT_EQ(next.Source.VobSubFile, "");
    EXPECT_EQ(RunState().PreviewIndexFile.Get(), "");
    EXPECT_EQ(RunState().PreviewSubsFile.Get(), "");
}

TEST_F(Construction, FieldsTakenFromTheJobAndTheProgram) {
    TEncRecord job = TestJob(Output());
    job.AudioTrack = 1;  // stream id 2
    job.Codec = kCodecDivX;
    Program().HasSSE = true;
    TMXEncoder run(job, false);
    EXPECT_EQ(run.Audio.AudioTrackNumber, 3);
    EXPECT_EQ(run.Audio.AudioTrackNumber2, 0);
    EXPECT_EQ(run.CompTest.CompCycle, 14);
    EXPECT_EQ(run.IdctChoice, 2);
    EXPECT_EQ(run.Settings.TargetSize, 700);
    EXPECT_FALSE(run.Settings.QualityMode);
    EXPECT_EQ(run.Source.HybridThreshold, 0);
    EXPECT_EQ(run.Source.CombDelta, 0);
    EXPECT_TRUE(run.Audio.EncodedAudioFile.empty() && run.Audio.DemuxedAudioFile2.empty());

    Program().HasSSE2 = true;
    job.Codec = kCodecXviD;
    job.TargetSize = 0;  // no size limit: the best quality
    TMXEncoder best(job, false);
    EXPECT_EQ(best.IdctChoice, 3);
    EXPECT_EQ(best.CompTest.CompCycle, 15);
    EXPECT_TRUE(best.Settings.QualityMode);
    EXPECT_EQ(best.Settings.Quality, 100);
}

TEST_F(Construction, ThePreviewScriptIsTheMovieScriptOfTheRunsValues) {
    TMXEncoder run(TestJob(Output()), true);
    run.Source.D2VFile = "/tmp/film_preview.d2v";
    run.Plan.OutWidth = 512;
    run.Source.HybridThreshold = 1.25;
    run.Plan.ResizeTemplate = "BicubicResize(%s,%s,0,0.5)";
    run.Source.VobSubFile = "/tmp/film.idx";
    run.Source.SourceType = 4;
    run.Plan.PixelAspect = 1.0940170940170941;
    TMovieScriptParams values{run.Source.D2VFile,         run.Plan.OutWidth,
                              run.Source.HybridThreshold, run.Plan.ResizeTemplate,
                              run.Source.VobSubFile,      run.Source.SourceType,
                              run.Plan.PixelAspect,       run.CompTest.CompCycle};
    TScriptLines expected;
    MakeMovieScript(expected, values, TMovieScriptUse::Preview);
    kPreviewScript.Work(run);
    EXPECT_EQ(run.PreviewScript, expected);
}

}  // namespace
