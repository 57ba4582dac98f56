// A file past 1 GiB written by the installed job runner: the split job copies most of the large
// AVI of tests/media/make_avi_files.sh (written by ffmpeg), so its copy becomes an OpenDML file
// that the planner's split search reads by its standard indexes, and ffprobe reads whole.
#include <filesystem>

#include "JobRunnerRun.h"
#include "avi/AviSplit.h"
#include "support/GeneratedMedia.h"

namespace {

using namespace jobrunner_test;

constexpr int kCopied = 1000;  // frames of about 1.1 MB

TEST(LargeAvi, TheSplitSearchFindsKeyFramesInACopyPastOneGibibyte) {
    const auto media = testing_support::MakeMedia("make_avi_files.sh", "avi");
    if (!media.SkipReason.empty()) GTEST_SKIP() << media.SkipReason;
    ASSERT_EQ(media.Error, "");
    testing_support::TempDir dir;
    TScriptLines job;
    MakeSplitJob(job, media.Folder + "/big.avi", dir.File("big.cd1.avi"), 0, kCopied, 1, false,
                 "English", "", TScriptEnvironment{});
    SaveScript(job, dir.File("job.vcf"));
    const ProgramRun run = Shell(Quoted(JobRunnerPath()) + " /x /s" + Quoted(dir.File("job.vcf")));
    ASSERT_EQ(run.status, 0) << run.output;
    ASSERT_GT(std::filesystem::file_size(dir.File("big.cd1.avi")), uint64_t(1) << 30);

    TAVISplitSearch search;
    ASSERT_TRUE(search.Open(dir.File("big.cd1.avi"))) << search.LastError();
    EXPECT_TRUE(search.IsOpenDml());
    EXPECT_TRUE(search.UsedOpenDmlIndex());
    std::vector<bool> keys;
    for (const TMyIndexEntry& e : search.Index())
        if (e.IsVideo()) keys.push_back(e.Kind == kChunkKeyFrame);
    ASSERT_EQ(keys.size(), size_t(kCopied));
    // ffprobe sees the same frames with the same key frames as in the source.
    const std::string flags =
        "ffprobe -v error -select_streams v -show_entries packet=flags -of csv=p=0 ";
    std::istringstream ours(Shell(flags + Quoted(dir.File("big.cd1.avi"))).output);
    std::istringstream source(
        Shell(flags + Quoted(media.Folder + "/big.avi") + " | head -" + std::to_string(kCopied))
            .output);
    std::string a, b;
    for (int n = 0; n < kCopied; ++n) {
        ASSERT_TRUE(std::getline(ours, a) && std::getline(source, b)) << n;
        ASSERT_EQ(a, b) << n;
        ASSERT_EQ(a[0] == 'K', bool(keys[size_t(n)])) << n;
    }
    EXPECT_FALSE(std::getline(ours, a));
    for (int32_t start : {0, 150}) {
        const int32_t cut = search.FindSplitFrame(start, 700);
        ASSERT_GT(cut, start);
        ASSERT_LT(cut, kCopied);
        EXPECT_TRUE(keys[size_t(cut)]) << cut;
    }
}

}  // namespace
