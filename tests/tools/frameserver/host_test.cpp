// The installed system/avisynth.dll through its C interface, as the job runner and the preview
// player will load it: the three scripts the planner writes, run on a generated clip with the
// test source in place of the decoder and stand-ins for the filter plugins.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "client/ScriptClient.h"
#include "scripts/avs.h"
#include "support/GeneratedMedia.h"
#include "support/TestEnv.h"

namespace {

using testing_support::TempDir;

class HostTest : public testing::Test {
  protected:
    void SetUp() override {
        std::string whyNot;
        library_ = fsclient::FrameServerLibrary::Load(
            testing_support::DistDir() + "/system/avisynth.dll", whyNot);
        ASSERT_TRUE(library_) << whyNot;
        // The installation's filters/ folder: the test source as the decoder, the stand-ins
        // under every filter plugin's name.
        std::filesystem::create_directories(dir_.File("filters"));
        std::filesystem::copy_file(FS_SOURCE_PLUGIN, dir_.File("filters/mpeg2dec3dg.dll"));
        for (const char* name : {"decomb", "chr", "autocrop", "undot", "kerneldeint", "vsfilter"})
            std::filesystem::copy_file(FS_STANDIN_PLUGIN,
                                       dir_.File(std::string("filters/") + name + ".dll"));
        env_.ProgramDir = dir_.Path();
        env_.HasSSE = true;
        const auto media = testing_support::MakeMedia(FS_MEDIA_SCRIPT, "frameserver");
        if (!media.SkipReason.empty()) GTEST_SKIP() << media.SkipReason;
        ASSERT_EQ(media.Error, "");
        clip_ = media.Folder + "/clip.y4m";
    }

    // Saves the lines as the planner does, opens them and serves every frame; the description,
    // or the error text.
    std::string Serve(const TScriptLines& lines, FsVideoInfo& info) {
        const std::string path = dir_.File("_.avs");
        SaveScript(lines, path);
        FsScript* script = library_->open(path.c_str());
        std::string error = library_->lastError(script);
        if (error.empty() && library_->videoInfo(script, &info) == 0) {
            for (int n = 0; n < info.frame_count && error.empty(); ++n) {
                const FsFrame* frame = library_->getFrame(script, n);
                if (!frame || library_->getParity(script, n) != 1)
                    error = library_->lastError(script);
                library_->releaseFrame(frame);
            }
        }
        library_->close(script);
        return error;
    }

    std::shared_ptr<fsclient::FrameServerLibrary> library_;
    TempDir dir_;
    TScriptEnvironment env_;
    std::string clip_;
};

std::vector<std::string> Lines(const std::string& path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// One log line per served frame, in frame order; the moving half comes from the global that the
// FrameEvaluate written after it set for the same frame.
TEST_F(HostTest, AnalysisScriptLogsEverySampledFrame) {
    TScriptLines lines;
    const std::string log = dir_.File("interlace.log");
    MakeAnalysisScript(lines, clip_, log, env_);
    FsVideoInfo info{};
    ASSERT_EQ(Serve(lines, info), "");
    EXPECT_EQ(info.width, 4);
    EXPECT_EQ(info.height, 4);
    ASSERT_EQ(info.frame_count, 36);  // 18 of the first 180 frames, 18 of the last 20
    const auto logged = Lines(log);
    ASSERT_EQ(logged.size(), 36u);
    EXPECT_EQ(logged[0], "false-false");  // no frame before the first
    for (int n = 1; n < 36; ++n)
        EXPECT_EQ(logged[n], std::string(n % 5 == 4 ? "true" : "false") + "-true") << n;
}

TEST_F(HostTest, HybridTestScriptRunsTheTrimmedPairs) {
    TScriptLines lines;
    MakeHybridTestScript(lines, clip_, "Trim(3,4)+Trim(10,11)+Trim(20,21)", env_);
    FsVideoInfo info{};
    ASSERT_EQ(Serve(lines, info), "");
    EXPECT_EQ(info.frame_count, 3);  // three pairs, one frame of each pair decimated
    EXPECT_EQ(info.width, 4);
}

// Every source type and both resizers: 352x240 at NTSC 4:3 becomes 320x240 (input_par under
// 1.4 is taken as 4/3); the stand-in decimation keeps 4 of 5 frames.
TEST_F(HostTest, MovieScriptsForEverySourceType) {
    TMovieScriptParams run;
    run.D2VFile = clip_;
    run.OutWidth = 320;
    run.HybridThreshold = 1.53;
    run.VobSubFile = dir_.File("subs.idx");
    run.PixelAspect = 0.911392405063291;
    for (uint8_t type = stForcedFilm; type <= stHybridVideo; ++type) {
        run.SourceType = type;
        run.ResizeTemplate = type % 2 ? "LanczosResize(%s,%s)" : "BicubicResize(%s,%s,0,0.5)";
        const bool decimated = type == stFilm || type == stHybridFilm || type == stHybridVideo;
        for (auto use : {TMovieScriptUse::Preview, TMovieScriptUse::CompTest}) {
            TScriptLines lines;
            MakeMovieScript(lines, run, use, env_);
            FsVideoInfo info{};
            ASSERT_EQ(Serve(lines, info), "") << int(type);
            EXPECT_EQ(info.width, 320);
            EXPECT_EQ(info.height, 240);
            const int frames = use == TMovieScriptUse::CompTest ? 15 : decimated ? 160 : 200;
            EXPECT_EQ(info.frame_count, frames) << int(type);
            EXPECT_EQ(info.fps_numerator * 1001u, info.fps_denominator * 30000u);
        }
    }
}

TEST_F(HostTest, ErrorsReachTheHostAsText) {
    const std::string missing = dir_.File("nothing here.avs");
    FsScript* script = library_->open(missing.c_str());
    EXPECT_EQ(std::string(library_->lastError(script)), missing + ": the script cannot be read");
    EXPECT_EQ(library_->getFrame(script, 0), nullptr);
    library_->close(script);

    const std::string noLast = dir_.Write("_movie.avs", "\r\nTrim(0,5)\r\n");
    script = library_->open(noLast.c_str());
    EXPECT_EQ(std::string(library_->lastError(script)),
              "_movie.avs, line 2: Trim: needs a clip, and there is no last clip");
    library_->close(script);
}

// A frame stays valid after its script was closed: the plugin that made it stays loaded.
TEST_F(HostTest, FramesOutliveTheirScriptAndRangesAreChecked) {
    const std::string path =
        dir_.Write("_.avs", "LoadPlugin(\"" + dir_.File("filters/mpeg2dec3dg.dll") +
                                "\")\nmpeg2source(\"" + clip_ + "\")\n");
    FsScript* script = library_->open(path.c_str());
    ASSERT_STREQ(library_->lastError(script), "");
    EXPECT_EQ(library_->getFrame(script, 200), nullptr);
    EXPECT_STREQ(library_->lastError(script),
                 "_.avs: frame 200 is out of range (the clip has 200 frames)");
    EXPECT_EQ(library_->getParity(script, -1), -1);
    const FsFrame* frame = library_->getFrame(script, 199);
    ASSERT_NE(frame, nullptr);
    library_->close(script);
    EXPECT_EQ(frame->width[0], 352);
    EXPECT_EQ(frame->height[1], 120);
    volatile int sum = 0;
    for (int y = 0; y < frame->height[0]; ++y) sum = sum + frame->data[0][y * frame->pitch[0]];
    library_->releaseFrame(frame);
}

}  // namespace
