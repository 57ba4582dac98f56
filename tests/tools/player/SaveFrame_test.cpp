// The installed program's --save, judged by ffmpeg: the picture it writes for frame N of a script
// is ffmpeg's own conversion of the same frame, and a failure names the file and leaves nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <tuple>

#include "Commands.h"
#include "PlayerMedia.h"
#include "support/TestEnv.h"

namespace {

using testing_support::ReadAll;

std::string Player() {
    return testing_support::DistDir() + "/Program Files/Windows Media Player/mplayer2.exe";
}

class SaveFrameTest : public testing::Test {
  protected:
    void SetUp() override {
        if (!tooltest::OnPath("ffmpeg")) GTEST_SKIP() << "missing tool: ffmpeg";
        title_ = playertest::IndexedTitle(dir_.Path());
        if (!title_.skipReason.empty()) GTEST_SKIP() << title_.skipReason;
        playertest::InstallFilters(dir_.Path());
        std::filesystem::create_directories(folder_);
    }
    std::string ClipScript() {
        return playertest::SaveScriptText(folder_ + "/clip.avs",
                                          playertest::DecodeLines(dir_.Path(), title_.d2v));
    }
    // Everything in the pictures' folder but the scripts.
    std::vector<std::string> Pictures() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder_))
            if (entry.path().extension() != ".avs") names.push_back(entry.path().filename());
        return names;
    }

    testing_support::TempDir dir_;
    const std::string folder_ = dir_.File("Vorschau für Tests");  // a blank and a non-ASCII letter
    playertest::Title title_;
};

TEST_F(SaveFrameTest, WritesTheFrameAsFfmpegConvertsIt) {
    const std::string script = ClipScript();
    const std::string png = folder_ + "/frame 57.png";
    const auto saved = tooltest::Run({Player(), "--frame", "57", "--save", png, script});
    ASSERT_EQ(saved.status, 0) << saved.output;
    EXPECT_EQ(Pictures(), std::vector<std::string>{"frame 57.png"});

    const std::string ours = dir_.File("ours.rgb"), theirs = dir_.File("theirs.rgb");
    ASSERT_EQ(tooltest::Run(
                  {"ffmpeg", "-v", "error", "-i", png, "-f", "rawvideo", "-pix_fmt", "rgb24", ours})
                  .status,
              0);
    ASSERT_EQ(tooltest::Run({"ffmpeg", "-v", "error", "-i", title_.vob, "-vf", "select=eq(n\\,57)",
                             "-frames:v", "1", "-f", "rawvideo", "-pix_fmt", "rgb24", theirs})
                  .status,
              0);
    const std::string a = ReadAll(ours), b = ReadAll(theirs);
    ASSERT_EQ(a.size(), 352u * 480 * 3);
    ASSERT_EQ(b.size(), a.size());
    int largest = 0;
    for (size_t i = 0; i < a.size(); ++i)
        largest = std::max(largest, std::abs(int(uint8_t(a[i])) - int(uint8_t(b[i]))));
    EXPECT_LE(largest,
              1);  // both convert with libswscale; a level for its processor-specific paths
}

// Each failure's message on standard error, and its exit status.
TEST_F(SaveFrameTest, FailuresNameTheFileAndLeaveNoPicture) {
    const std::string png = folder_ + "/frame.png";
    const std::string script = ClipScript();
    const std::string broken = playertest::SaveScriptText(folder_ + "/broken.avs", "\nTrim(0,5)\n");
    const std::vector<std::tuple<std::vector<std::string>, int, std::string>> cases = {
        {{"--save", png, broken},
         1,
         "broken.avs, line 2: Trim: needs a clip, and there is no last clip"},
        {{"--frame", "200", "--save", png, script},
         1,
         "clip.avs: frame 200 is out of range (the clip has 200 frames)"},
        {{"--save", folder_ + "/no such folder/frame.png", script},
         1,
         "no such folder/frame.png: cannot be written"},
        {{"--frame", "-3", "--save", png, script},
         2,
         "--frame needs a frame number (0 or more), not \"-3\""},
        {{script, script}, 2, "one script at a time"},
    };
    for (const auto& [args, status, message] : cases) {
        std::vector<std::string> line{Player()};
        line.insert(line.end(), args.begin(), args.end());
        const auto run = tooltest::Run(line);
        EXPECT_EQ(run.status, status) << message;
        EXPECT_NE(run.output.find(message), std::string::npos) << run.output;
    }
    EXPECT_TRUE(Pictures().empty());
}

}  // namespace
