// VobSub on a pair that the subtitle library extracted from a title authored with spumux: each
// caption in the frames of its time range only, in its palette colour, and the index's forced
// and language settings honoured.
#include <filesystem>

#include "TitleHarness.h"
#include "encoder/TextFiles.h"
#include "encoder/rules/VobSubParams.h"
#include "subtitles/Configure.h"
#include "subtitles/TitleCase.h"

namespace {

using Subtitles = filtertest::TitleCase;

enum class Seen { Nothing, White, Yellow };

// The caption boxes fill x 120..600, y 466..526 of the 720x576 picture; (150, 514) lies in the
// clip's bottom border and outside the yellow caption's black dots.
Seen SeenAt(const fsrv::Frame& f) {
    const int y = f.Data(fsrv::kY)[size_t(514) * f.Pitch(fsrv::kY) + 150];
    const int u = f.Data(fsrv::kU)[size_t(257) * f.Pitch(fsrv::kU) + 75];
    const int v = f.Data(fsrv::kV)[size_t(257) * f.Pitch(fsrv::kV) + 75];
    if (y > 200 && std::abs(u - 128) < 12 && std::abs(v - 128) < 12) return Seen::White;
    if (y > 160 && u < 64 && v > 128) return Seen::Yellow;
    return Seen::Nothing;
}

class SubtitlePair : public Subtitles {
  protected:
    void SetUp() override {
        Subtitles::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        const auto media = testing_support::MakeMedia(SUBTITLE_MEDIA_SCRIPT, "subtitles");
        if (!media.SkipReason.empty()) GTEST_SKIP() << media.SkipReason;
        ASSERT_EQ(media.Error, "");
        subtitles::ConfigureParams params;
        params.ifoPath = media.Folder + "/pal_captions/rip/VTS_01_0.IFO";
        params.base = dir_.File("Mein Film ä");
        params.chain = 1;
        params.streams = {0, 1, 2};
        subtitles::RunConfigure(params);
        idx_ = params.base + ".idx";
    }
    // The planner's edit of the index, then the frames 0..99 of the PAL clip with the captions.
    std::vector<Seen> Render(int stream, bool forcedOnly) {
        TTextLines index = LoadLinesKeepingEnds(idx_);
        EditSubtitleIndex(index.Lines, stream, forcedOnly);
        SaveLinesKeepingEnds(index, idx_);
        Open({"LoadPlugin(\"" + env_.ProgramDir + "/filters/mpeg2dec3dg.dll\")",
              "LoadPlugin(\"" + env_.ProgramDir + "/filters/vsfilter.dll\")",
              "mpeg2source(\"" + TitleOf("letterbox").source + "\")", "VobSub(\"" + idx_ + "\")"});
        std::vector<Seen> seen;
        for (int n = 0; n < server_.Frames(); ++n) seen.push_back(SeenAt(*server_.Frame(n)));
        return seen;
    }
    std::string idx_;
};

// Frames are 40 ms; a caption's first and last frame may fall either way of its edges.
void ExpectShown(const std::vector<Seen>& seen, int fromMs, int toMs, Seen what) {
    for (int n = fromMs / 40 + 1; n < toMs / 40 - 1; ++n) EXPECT_EQ(seen[n], what) << "frame " << n;
}
void ExpectNothing(const std::vector<Seen>& seen, int fromMs, int toMs) {
    ExpectShown(seen, fromMs, toMs, Seen::Nothing);
}

TEST_F(SubtitlePair, CaptionsShowInTheirTimeRangeInTheirColour) {
    const std::vector<Seen> seen = Render(0, false);
    ASSERT_EQ(seen.size(), 100u);
    ExpectNothing(seen, 0, 200);
    ExpectShown(seen, 200, 900, Seen::White);
    ExpectNothing(seen, 900, 1200);
    ExpectShown(seen, 1200, 1800, Seen::Yellow);
    ExpectNothing(seen, 1800, 2400);
    ExpectShown(seen, 2400, 3000, Seen::White);
    ExpectNothing(seen, 3000, 4000);
}

TEST_F(SubtitlePair, LangidxPicksTheStreamAndForcedOnlyDrawsTheForcedCaption) {
    std::vector<Seen> seen = Render(1, false);
    ExpectNothing(seen, 0, 500);
    ExpectShown(seen, 500, 1500, Seen::White);
    ExpectNothing(seen, 1500, 2800);
    ExpectShown(seen, 2800, 3400, Seen::Yellow);
    ExpectNothing(seen, 3400, 4000);
    seen = Render(0, true);
    ExpectNothing(seen, 0, 1200);
    ExpectShown(seen, 1200, 1800, Seen::Yellow);
    ExpectNothing(seen, 1800, 4000);
}

// A bitmap file cut short after the first caption: that one still shows, the others are skipped
// with a warning each, and the index's damaged line costs only itself.
TEST_F(SubtitlePair, DamagedPairSkipsOnlyWhatIsDamaged) {
    TTextLines index = LoadLinesKeepingEnds(idx_);
    index.Lines.insert(index.Lines.begin() + 3, "alpha: lots");
    SaveLinesKeepingEnds(index, idx_);
    const std::string sub = idx_.substr(0, idx_.size() - 4) + ".sub";
    std::filesystem::resize_file(sub, 2048);
    testing::internal::CaptureStderr();
    const std::vector<Seen> seen = Render(0, false);
    const std::string warnings = testing::internal::GetCapturedStderr();
    ExpectShown(seen, 200, 900, Seen::White);
    ExpectNothing(seen, 900, 4000);
    EXPECT_NE(warnings.find("\"alpha: lots\" cannot be read"), std::string::npos) << warnings;
    EXPECT_NE(warnings.find("the subpicture at 1200 ms is skipped"), std::string::npos) << warnings;
}

// The preview script of every source type, captions included, runs with every filter it names
// (the 720x576 captions land on the smaller NTSC pictures too).
TEST_F(SubtitlePair, PreviewOfEverySourceTypeRunsWithItsFilters) {
    const char* clip[] = {"film", "hard", "progressive", "interlaced", "hybrid", "hybrid"};
    for (uint8_t type = stForcedFilm; type <= stHybridVideo; ++type) {
        SCOPED_TRACE(int(type));
        TMovieScriptParams run = MovieOf(TitleOf(clip[type]), type);
        run.VobSubFile = idx_;
        run.HybridThreshold = 0.5;
        TScriptLines lines;
        MakeMovieScript(lines, run, TMovieScriptUse::Preview, env_);
        Open(lines);
        EXPECT_EQ(server_.Width(), 640);
        EXPECT_EQ(server_.Height(), 480);
        const int frames[] = {160, 160, 200, 200, 304, 380};
        EXPECT_EQ(server_.Frames(), frames[type]);
        EXPECT_EQ(server_.ServeAll(), "");
    }
}

}  // namespace
