// The planner's preview run starts the installed player on the preview script of a real title,
// as "Preview" in the main window does: shown, at normal priority, not waited for. The index,
// the subtitles and the frames are the installed indexer's, subtitle library's, decoder's and
// filters'.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <QTest>
#include <filesystem>
#include <fstream>

#include "FrameServer.h"
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

// Luma at the middle of the caption box (120..600 x 466..526 of the 720x576 title) in frame n of
// the 704x384 preview.
int CaptionLuma(player::ClipScript& preview, int n) {
    std::string error;
    const player::FramePtr frame = preview.Frame(n, error);
    EXPECT_TRUE(frame) << error;
    return frame ? frame->data[0][size_t(331) * size_t(frame->pitch[0]) + 352] : -1;
}

TEST(PreviewRun, StartsThePlayerOnThePreviewOfARealTitleWithItsCaptions) {
    const auto media = testing_support::MakeMedia("make_dvd_titles.sh", "dvd");
    if (!media.SkipReason.empty()) GTEST_SKIP() << media.SkipReason;
    ASSERT_EQ(media.Error, "");
    TempDir dir;
    const std::string rip = media.Folder + "/pal_wide/rip";
    const SourceFolderResult title = ReadSourceFolder(rip);
    ASSERT_EQ(title.Outcome, SourceFolderOutcome::Ok) << title.Detail;

    playertest::InstallFilters(dir.Path());
    const std::string dist = testing_support::DistDir();
    testing_support::ScopedEnv system("MOVREX_SYSTEM_DIR", dist + "/system");
    const TProgramValues saved = Program();
    Program().ProgramDir = dir.Path();
    Program().HasSSE = true;
    Program().DVD2AVIPath = dist + "/DVD2AVI/DVD2AVIdg.exe";
    Program().VobSubPath = dist + "/system/vobsub.dll";
    Program().MediaPlayerPath = dist + "/Program Files/Windows Media Player/mplayer2.exe";
    TEncRecord job = InitialEncSettings();
    job.InputDir = rip;
    job.OutputFile = dir.File("out/film.avi");
    job.VobInfo = title.VobInfo;
    job.AudioTrack = 0;
    job.SubTrack = 0;  // English, shown from 0.2 s to 0.9 s
    RunState().PreviewIndexFile.Set("");
    RunState().PreviewSubsFile.Set("");
    TMXEncoder run(job, true);
    const std::string output = dir.File("player.txt");
    WithOutputTo(output, [&] { run.Execute(); });
    Program() = saved;
    RunState().PreviewIndexFile.Set("");
    RunState().PreviewSubsFile.Set("");

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

    // The caption is drawn in its frames (white: 235) and only there.
    std::string error;
    const auto preview = player::OpenInstalledScript(script, error);
    ASSERT_TRUE(preview) << error;
    EXPECT_EQ(CaptionLuma(*preview, 12), 235);
    for (int n : {2, 40}) EXPECT_LT(CaptionLuma(*preview, n), 200) << n;
}

}  // namespace
