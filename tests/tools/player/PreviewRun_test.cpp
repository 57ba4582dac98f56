// The planner's preview run starts the installed player on the preview script of a real title,
// as "Preview" in the main window does: shown, at normal priority, not waited for. Until the
// indexer and the decoder plugin land, two stand-ins: the title's VOB decoded by ffmpeg into a
// .y4m takes the index's place, and the field-order stage (which reads the index) is skipped.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <QTest>
#include <filesystem>
#include <fstream>

#include "Commands.h"
#include "PlayerMedia.h"
#include "dvd/SourceFolder.h"
#include "encoder/encoder.h"
#include "encoder/stages/Stages.h"
#include "jobs/ProgramValues.h"
#include "support/GeneratedMedia.h"

namespace {

using testing_support::TempDir;

// The children of this process that run `name`.
std::vector<pid_t> ChildrenNamed(const std::string& name) {
    std::vector<pid_t> found;
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        std::ifstream stat(entry.path() / "stat");
        std::string pid, comm, state;
        pid_t parent = 0;
        if (stat >> pid >> comm >> state >> parent && parent == getpid() &&
            comm == "(" + name + ")")
            found.push_back(std::stoi(pid));
    }
    return found;
}

// Runs `body` with the standard output and error of this process, and so of the programs it
// starts meanwhile, going to `path`.
template <class F>
void WithOutputTo(const std::string& path, F body) {
    std::fflush(nullptr);
    const int file = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int saved[2] = {dup(1), dup(2)};
    dup2(file, 1);
    dup2(file, 2);
    close(file);
    body();
    std::fflush(nullptr);
    for (int fd : {1, 2}) {
        dup2(saved[fd - 1], fd);
        close(saved[fd - 1]);
    }
}

TEST(PreviewRun, StartsThePlayerOnThePreviewScriptOfARealTitle) {
    if (!tooltest::OnPath("ffmpeg")) GTEST_SKIP() << "missing tool: ffmpeg";
    const auto media = testing_support::MakeMedia("make_dvd_titles.sh", "dvd");
    if (!media.SkipReason.empty()) GTEST_SKIP() << media.SkipReason;
    ASSERT_EQ(media.Error, "");
    TempDir dir;
    const std::string rip = media.Folder + "/pal_wide/rip";
    const SourceFolderResult title = ReadSourceFolder(rip);
    ASSERT_EQ(title.Outcome, SourceFolderOutcome::Ok) << title.Detail;
    const std::string decoded = dir.File("title.y4m");
    const auto ffmpeg = tooltest::Run({"ffmpeg", "-v", "error", "-i", rip + "/VTS_01_1.VOB", "-map",
                                       "0:v", "-f", "yuv4mpegpipe", decoded});
    ASSERT_EQ(ffmpeg.status, 0) << ffmpeg.output;

    playertest::InstallFilters(dir.Path());
    const TProgramValues saved = Program();
    Program().ProgramDir = dir.Path();
    Program().HasSSE = true;
    Program().MediaPlayerPath =
        testing_support::DistDir() + "/Program Files/Windows Media Player/mplayer2.exe";
    TEncRecord job = InitialEncSettings();
    job.InputDir = rip;
    job.OutputFile = dir.File("out/film.avi");
    job.VobInfo = title.VobInfo;
    job.AudioTrack = 0;
    RunState().PreviewIndexFile.Set("");
    RunState().PreviewSubsFile.Set("");
    TMXEncoder run(job, true);
    TStageTable stages;
    stages.Replace(kIndexForPreview, [&](TRun& e) { e.Source.D2VFile = decoded; });
    stages.Replace(kDetectFieldOrder, [](TRun&) {});
    run.SetStages(stages);
    const std::string output = dir.File("player.txt");
    WithOutputTo(output, [&] { run.Execute(); });
    Program() = saved;
    RunState().PreviewIndexFile.Set("");

    const std::vector<pid_t> players = ChildrenNamed("mplayer2.exe");
    ASSERT_EQ(players.size(), 1u) << testing_support::ReadAll(output);
    const std::string script = dir.File("out/mx_preview/film_preview.avs");
    // The player reports the clip once it has opened the script, then plays until closed.
    const std::string opened = script + ": ";
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return testing_support::ReadAll(output).find(opened) != std::string::npos; }, 20000))
        << testing_support::ReadAll(output);
    const std::string report = testing_support::ReadAll(output);
    // PAL 16:9 at the width the planner chose, in square pixels; the title's three seconds.
    EXPECT_NE(report.find(opened + "704x384, 75 frames, 25/1 frames per second"), std::string::npos)
        << report;
    kill(players[0], SIGTERM);
    EXPECT_TRUE(QTest::qWaitFor([&] { return ChildrenNamed("mplayer2.exe").empty(); }, 20000));
}

}  // namespace
