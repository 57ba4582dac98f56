// The planner's three scripts, as its own builders write them, on real titles through the frame
// server's C interface with this plugin decoding. The filter plugins come from the installation
// where they are built, else from the frame server's tests' stand-ins.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>

#include "DecoderRun.h"
#include "frameserver_host.h"
#include "scripts/avs.h"
#include "support/GeneratedMedia.h"
#include "support/TestEnv.h"

namespace {

using namespace decoder_test;
namespace fs = std::filesystem;

class PlannerScripts : public testing::Test {
  protected:
    void SetUp() override {
        DECODER_TITLES(titles);
        fs::create_directories(dir_.File("filters"));
        const std::string installed = testing_support::DistDir() + "/filters/";
        fs::copy_file(installed + "mpeg2dec3dg.dll", dir_.File("filters/mpeg2dec3dg.dll"));
        for (const char* name : {"decomb", "chr", "autocrop", "undot", "kerneldeint", "vsfilter"}) {
            const std::string real = installed + name + ".dll";
            fs::copy_file(fs::exists(real) ? real : DECODER_STANDIN_PLUGIN,
                          dir_.File(std::string("filters/") + name + ".dll"));
        }
        env_.ProgramDir = dir_.Path();
        env_.HasSSE = true;
        // The job's temporary folder, with a blank and a letter beyond ASCII in its name.
        fs::create_directories(dir_.File("mx tmp é"));
        hybrid_ = IndexTitle(titles + "/ntsc_hybrid/rip/VTS_01_1.VOB", dir_.File("mx tmp é/h"));
        film_ = WithFieldOperation(
            IndexTitle(titles + "/ntsc_film/rip/VTS_01_1.VOB", dir_.File("mx tmp é/f")), 1);
    }

    // Saves the lines as the planner does and serves every frame with its parity; the
    // description, or the error text.
    std::string Serve(const TScriptLines& lines, FsVideoInfo& info) {
        const std::string path = dir_.File("mx tmp é/_.avs");
        SaveScript(lines, path);
        FsScript* script = fs_open(path.c_str());
        std::string error = fs_last_error(script);
        if (error.empty() && fs_video_info(script, &info) == 0) {
            for (int n = 0; n < info.frame_count && error.empty(); ++n) {
                const FsFrame* frame = fs_get_frame(script, n);
                if (!frame || fs_get_parity(script, n) < 0) error = fs_last_error(script);
                fs_release_frame(frame);
            }
        }
        fs_close(script);
        return error;
    }

    testing_support::TempDir dir_;
    TScriptEnvironment env_;
    std::string hybrid_, film_;
};

// The analysis script logs one line per sampled frame; the hybrid test serves its trimmed pairs,
// one frame of each decimated.
TEST_F(PlannerScripts, AnalysisAndHybridTestScripts) {
    TScriptLines lines;
    const std::string log = dir_.File("mx tmp é/interlace.log");
    MakeAnalysisScript(lines, hybrid_, log, env_);
    FsVideoInfo info{};
    ASSERT_EQ(Serve(lines, info), "");
    EXPECT_EQ(info.width, 4);
    EXPECT_EQ(info.frame_count, 18);  // 18 of the first 180 frames of 90
    std::ifstream in(log);
    int count = 0;
    for (std::string line; std::getline(in, line); ++count) {
        if (line.ends_with('\r')) line.pop_back();  // the log writer ends its lines CR LF
        EXPECT_TRUE(std::regex_match(line, std::regex("(true|false)-(true|false)"))) << line;
    }
    EXPECT_EQ(count, 18);

    MakeHybridTestScript(lines, hybrid_, "Trim(3,4)+Trim(10,11)", env_);
    ASSERT_EQ(Serve(lines, info), "");
    EXPECT_EQ(info.frame_count, 2);
}

// Every source type on the forced-FILM or the hybrid title: 640 wide at NTSC 4:3; FILM and the
// mostly-film hybrid keep four frames of five.
TEST_F(PlannerScripts, MovieScriptsForEverySourceType) {
    TMovieScriptParams run;
    run.OutWidth = 640;
    run.HybridThreshold = 1.53;
    run.PixelAspect = 0.911392405063291;
    run.ResizeTemplate = "LanczosResize(%s,%s)";
    for (uint8_t type = stForcedFilm; type <= stHybridVideo; ++type) {
        run.SourceType = type;
        run.D2VFile = type == stForcedFilm ? film_ : hybrid_;
        // A hybrid of mostly video keeps the video's rate: its film cycles get a blend in place
        // of their duplicate.
        const bool decimated = type == stFilm || type == stHybridFilm;
        for (auto use : {TMovieScriptUse::Preview, TMovieScriptUse::CompTest}) {
            TScriptLines lines;
            MakeMovieScript(lines, run, use, env_);
            FsVideoInfo info{};
            ASSERT_EQ(Serve(lines, info), "") << int(type);
            EXPECT_EQ(info.width, 640);
            EXPECT_EQ(info.height, 480);
            const int frames = type == stForcedFilm ? 48 : decimated ? 72 : 90;
            EXPECT_EQ(info.frame_count, use == TMovieScriptUse::CompTest ? 15 : frames)
                << int(type);
        }
    }
}

}  // namespace
