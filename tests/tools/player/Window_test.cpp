// The player's window on Qt's offscreen platform over the installed frame server: the picture it
// shows for a frame is the frame server's frame, stepping and playing reach the frames asked
// for, errors are shown in the frame server's words, and closing never waits on more than the
// frame being read.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QTest>

#include "FramePicture.h"
#include "PictureView.h"
#include "PlayerMedia.h"
#include "PlayerWindow.h"

namespace {

using testing_support::TempDir;

class PlayerWindowTest : public testing::Test {
  protected:
    void SetUp() override {
        const playertest::Title title = playertest::IndexedTitle(dir_.Path());
        if (!title.skipReason.empty()) GTEST_SKIP() << title.skipReason;
        clip_ = title.d2v;  // 352x480 4:3, 200 frames at 30000/1001
        playertest::InstallFilters(dir_.Path());
    }
    // A script that decodes the clip and then does `rest`.
    std::string ClipScript(const std::string& name, const std::string& rest = "") {
        return playertest::SaveScriptText(dir_.File(name),
                                          playertest::DecodeLines(dir_.Path(), clip_) + rest);
    }
    // Lets the fetching thread's news arrive, until `done` or ten seconds.
    template <class F>
    static bool ProcessUntil(F done) {
        for (int i = 0; i < 2000 && !done(); ++i) QTest::qWait(5);
        return done();
    }

    TempDir dir_;
    testing_support::ScopedEnv system_{"MOVREX_SYSTEM_DIR", testing_support::DistDir() + "/system"};
    std::string clip_;
};

TEST_F(PlayerWindowTest, ShowsTheFrameServersFramesAtTheClipsAspect) {
    const std::string script = dir_.File("film_preview.avs");
    playertest::SavePreviewScript(script, clip_, 320, dir_.Path());
    player::PlayerWindow window(script);
    ASSERT_EQ(window.ErrorText(), "");
    EXPECT_EQ(window.windowTitle(), "film_preview.avs");
    window.show();
    EXPECT_EQ(window.View()->size(), QSize(320, 240));  // the window is sized to the clip

    std::string error;
    const auto reference = player::OpenInstalledScript(script, error);
    ASSERT_TRUE(reference) << error;
    const auto expectShown = [&](int n) {
        ASSERT_TRUE(ProcessUntil([&] { return window.ShownFrame() == n; })) << n;
        const player::FramePtr frame = reference->Frame(n, error);
        ASSERT_TRUE(frame) << error;
        EXPECT_EQ(window.ShownPicture(), player::FramePicture().Convert(*frame)) << n;
    };
    window.Seek(37);
    expectShown(37);
    QTest::keyClick(&window, Qt::Key_Right);
    expectShown(38);
    QTest::keyClick(&window, Qt::Key_Left);
    QTest::keyClick(&window, Qt::Key_Left);
    expectShown(36);
    QTest::keyClick(&window, Qt::Key_End);
    expectShown(199);
    EXPECT_EQ(window.findChild<QLabel*>("position")->text(),
              "0:00:06.639 / 0:00:06.673   frame 199 / 199");

    // A window of another shape shows the whole picture, undistorted.
    window.resize(700, 300);
    QApplication::processEvents();
    const QRect shown = window.View()->PictureRect();
    EXPECT_EQ(shown.height(), window.View()->height());
    EXPECT_NEAR(shown.width() * 3.0 / (shown.height() * 4.0), 1.0, 0.01);
}

// Playing runs on to the last frame and stops there; space plays again from the start and
// pauses.
TEST_F(PlayerWindowTest, PlaysToTheEndAndPlaysAgainFromTheStart) {
    player::PlayerWindow window(ClipScript("clip.avs"));
    window.show();
    window.Seek(192);
    window.Play();
    ASSERT_TRUE(ProcessUntil([&] { return !window.Playing(); }));
    EXPECT_EQ(window.ShownFrame(), 199);
    QTest::keyClick(&window, Qt::Key_Space);
    EXPECT_TRUE(window.Playing());
    ASSERT_TRUE(ProcessUntil([&] { return window.ShownFrame() < 10; }));
    QTest::keyClick(&window, Qt::Key_Space);
    EXPECT_FALSE(window.Playing());
}

TEST_F(PlayerWindowTest, ErrorsAreShownInTheFrameServersWords) {
    // A script that fails as it is read.
    const std::string broken =
        playertest::SaveScriptText(dir_.File("broken script.avs"), "\nTrim(0,5)\n");
    player::PlayerWindow window(broken);
    EXPECT_EQ(window.ErrorText(),
              "broken script.avs, line 2: Trim: needs a clip, and there is no last clip");
    EXPECT_EQ(window.Info(), nullptr);
    window.show();
    window.Play();
    QTest::keyClick(&window, Qt::Key_Right);
    EXPECT_EQ(window.ShownFrame(), -1);

    // A frame that fails while the others play.
    const std::string failing =
        ClipScript("failing.avs", "FrameEvaluate(last, \"x = current_frame == 3 ? 1 / 0 : 0\")\n");
    player::PlayerWindow playing(failing);
    ASSERT_EQ(playing.ErrorText(), "");
    playing.Seek(3);
    ASSERT_TRUE(ProcessUntil([&] { return !playing.ErrorText().empty(); }));
    EXPECT_EQ(playing.ErrorText(), "failing.avs, line 3: division by zero");
    playing.Seek(2);
    ASSERT_TRUE(ProcessUntil([&] { return playing.ShownFrame() == 2; }));
    EXPECT_EQ(playing.ErrorText(), "");

    // No frame server at all.
    testing_support::ScopedEnv nowhere("MOVREX_SYSTEM_DIR", dir_.Path());
    player::PlayerWindow alone(broken);
    EXPECT_EQ(alone.ErrorText(), "The file " + dir_.File("avisynth.dll") + " is missing");
}

// Frames big enough that reading one takes a while: the window is closed while the fetching
// thread is inside the frame server, with a seek just asked for and news still queued.
TEST_F(PlayerWindowTest, ClosingWhileFramesAreFetchedEndsCleanly) {
    const std::string script = ClipScript("big.avs", "LanczosResize(1920,1088)\n");
    for (int round = 0; round < 3; ++round) {
        auto window = std::make_unique<player::PlayerWindow>(script);
        window->show();
        window->Play();
        ASSERT_TRUE(ProcessUntil([&] { return window->Fetching(); }));
        window->Seek(100 + round);
        window->close();
        window.reset();
        QApplication::processEvents();
    }
}

}  // namespace
