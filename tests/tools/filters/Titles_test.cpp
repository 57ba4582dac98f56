// The planner's scripts on generated titles through the installed frame server and filters: what
// the planner's own rules make of the analysis logs and debug strings, and what the movie
// script's frames are, judged against the forced-FILM decode and the comb test.
#include <algorithm>
#include <filesystem>

#include "TitleHarness.h"
#include "decomb/Combing.h"
#include "encoder/rules/InterlaceDetect.h"
#include "encoder/Runner.h"
#include "encoder/TextFiles.h"
#include "encoder/rules/ThresholdCapture.h"
#include "platform/process.h"
#include "support/GeneratedMedia.h"

namespace {

using filtertest::ClipTitle;
using filtertest::LumaPsnr;
using filtertest::Title;
using Titles = filtertest::TitleCase;

constexpr int kFilmFrames = 160;  // the film of soft, hard and the hybrid's first part

// The movie script up to and including the first line that starts with `prefix`.
TScriptLines UpTo(TScriptLines lines, const std::string& prefix) {
    const auto at = std::find_if(lines.begin(), lines.end(),
                                 [&](const std::string& l) { return l.rfind(prefix, 0) == 0; });
    if (at != lines.end()) lines.erase(at + 1, lines.end());
    return lines;
}

TScriptLines SourceOnly(const TScriptEnvironment& env, const std::string& source,
                        const std::string& filter = "") {
    return {"LoadPlugin(\"" + env.ProgramDir + "/filters/mpeg2dec3dg.dll\")",
            "LoadPlugin(\"" + env.ProgramDir + "/filters/decomb.dll\")",
            "LoadPlugin(\"" + env.ProgramDir + "/filters/autocrop.dll\")",
            "LoadPlugin(\"" + env.ProgramDir + "/filters/kerneldeint.dll\")",
            "mpeg2source(\"" + source + "\")" + filter};
}

// Every output frame of the field matching and decimation is the film frame of its number.
void ExpectFilmFrames(filtertest::Server& ivtc, filtertest::Server& film, int frames) {
    for (int n = 0; n < frames; ++n) {
        const auto frame = ivtc.Frame(n);
        ASSERT_GT(LumaPsnr(*frame, *film.Frame(n)), 40) << "frame " << n;
        ASSERT_FALSE(ivtc::IsCombedFrame(*frame, 30)) << "frame " << n;
    }
}

TEST_F(Titles, FilmScriptGivesEveryFilmFrameOnceAndWhole) {
    for (const char* name : {"soft", "hard"}) {
        SCOPED_TRACE(name);
        TScriptLines lines;
        MakeMovieScript(lines, MovieOf(ClipTitle(clips_, name), stFilm), TMovieScriptUse::Encoding,
                        env_);
        Open(lines);
        EXPECT_EQ(server_.Frames(), kFilmFrames);
        EXPECT_EQ(server_.Width(), 640);
        EXPECT_EQ(server_.Height(), 480);
        EXPECT_NEAR(server_.Rate(), 24000.0 / 1001, 1e-9);
        Open(UpTo(lines, "Telecide("));
        filtertest::Server film;
        OpenOn(film, SourceOnly(env_, clips_ + "/film.y4m"), "film.avs");
        ExpectFilmFrames(server_, film, kFilmFrames);
    }
}

// The analysis run and the planner's reading of its log; for a hybrid, the threshold run with
// the planner's debug capture on a serving child process, as the job runner would be.
TEST_F(Titles, PlannerClassifiesEveryTitleFromItsAnalysisLog) {
    const struct {
        const char* name;
        uint8_t type;
    } cases[] = {{"progressive", stProgressive},
                 {"interlaced", stInterlaced},
                 {"soft", stFilm},
                 {"hard", stFilm},
                 {"hybrid", stHybridFilm},
                 {"letterbox", stProgressive}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Title title = ClipTitle(clips_, c.name);
        TScriptLines lines;
        std::filesystem::remove(dir_.File("interlace.log"));
        MakeAnalysisScript(lines, title.source, dir_.File("interlace.log"), env_);
        Open(lines);
        ASSERT_EQ(server_.ServeAll(), "");
        const TInterlaceWalk walk =
            WalkWindows(LoadLinesKeepingEnds(dir_.File("interlace.log")).Lines);
        const TInterlaceVerdict verdict = DecideSource(walk.Counts, CombingRatio(walk.Counts),
                                                       title.ntsc, [](double) { return ""; });
        EXPECT_EQ(int(verdict.SourceType), int(c.type)) << verdict.Message;
        if (c.type != stHybridFilm) continue;
        ASSERT_FALSE(walk.TrimList.empty());
        MakeHybridTestScript(lines, title.source, walk.TrimList.substr(0, walk.TrimList.size() - 1),
                             env_);
        SaveScript(lines, dir_.File("_test.avs"));
        double threshold = 0;
        ASSERT_TRUE(RunCapturingDebugOutput(
            std::string(SERVE_SCRIPT) + " " +
                platform::QuoteArgument(testing_support::DistDir() + "/system/avisynth.dll") + " " +
                platform::QuoteArgument(dir_.File("_test.avs")),
            [&](const std::string& text) { CaptureThreshold(text, threshold); }));
        EXPECT_GT(threshold, 0);
        EXPECT_LT(threshold, 1);
    }
}

// With the threshold the planner found, the hybrid's film stays film and its video is blended
// down to the same rate, uncombed.
TEST_F(Titles, HybridMovieKeepsTheFilmAndBlendsTheVideo) {
    TMovieScriptParams run = MovieOf(ClipTitle(clips_, "hybrid"), stHybridFilm);
    run.HybridThreshold = 0.5;
    TScriptLines lines;
    MakeMovieScript(lines, run, TMovieScriptUse::Encoding, env_);
    Open(UpTo(lines, "Telecide("));
    ASSERT_EQ(server_.Frames(), 380 / 5 * 4);
    filtertest::Server film;
    OpenOn(film, SourceOnly(env_, clips_ + "/film.y4m"), "film.avs");
    ExpectFilmFrames(server_, film, kFilmFrames);
    for (int n = kFilmFrames; n < server_.Frames(); ++n)
        ASSERT_FALSE(ivtc::IsCombedFrame(*server_.Frame(n), 30)) << "frame " << n;
}

// 720x576 with 72 black lines above and below a 16:9 picture: the first crop finds the picture,
// the size arithmetic makes 640x352, and the second crop cuts the picture to that shape.
TEST_F(Titles, AutocropFindsTheLetterboxAndTheMovieGetsItsIntendedSize) {
    const Title title = ClipTitle(clips_, "letterbox");
    Open(SourceOnly(env_, title.source,
                    ".autocrop(mode=0,wmultof=4,hmultof=4,samples=10,aspect=0,threshold=35)"));
    EXPECT_EQ(server_.Width(), 720);
    EXPECT_EQ(server_.Height(), 432);
    filtertest::Server source;
    OpenOn(source, SourceOnly(env_, title.source, ".crop(0,72,720,432)"), "src.avs");
    EXPECT_EQ(LumaPsnr(*server_.Frame(50), *source.Frame(50)), 99);

    TScriptLines lines;
    MakeMovieScript(lines, MovieOf(title, stProgressive), TMovieScriptUse::Encoding, env_);
    Open(lines);
    EXPECT_EQ(server_.Width(), 640);
    EXPECT_EQ(server_.Height(), 352);
    Open(UpTo(lines, "autocrop(movie,mode=0,wmultof=4,hmultof=4,samples=10,aspect=new"));
    EXPECT_EQ(server_.Width(), 716);  // 432 x 1.6619, the nearest multiple of 4
    EXPECT_EQ(server_.Height(), 432);
}

TEST_F(Titles, KernelDeIntLeavesStillPicturesAndRemovesTheCombing) {
    const std::string still =
        "Trim(10,-1)\r\nlast + last + last\r\n"
        "KernelDeInt(order=1,sharp=true)";
    TScriptLines lines = SourceOnly(env_, clips_ + "/progressive.y4m");
    lines.push_back(still);
    Open(lines);
    filtertest::Server source;
    OpenOn(source, SourceOnly(env_, clips_ + "/progressive.y4m"), "src.avs");
    // The library's kernel always rebuilds the outermost lines of the other field.
    for (int n : {1, 2}) EXPECT_EQ(LumaPsnr(*server_.Frame(n), *source.Frame(10), 4), 99) << n;

    MakeMovieScript(lines, MovieOf(ClipTitle(clips_, "interlaced"), stInterlaced),
                    TMovieScriptUse::Encoding, env_);
    Open(UpTo(lines, "KernelDeInt("));
    ASSERT_EQ(server_.Frames(), 200);
    for (int n = 0; n < server_.Frames(); ++n)
        ASSERT_FALSE(ivtc::IsCombedFrame(*server_.Frame(n), 30)) << "frame " << n;
}

TEST_F(Titles, BadArgumentsAreErrorsNamingTheFilter) {
    const std::string source = clips_ + "/progressive.y4m";
    const struct {
        const char* filter;
        const char* error;
    } cases[] = {
        {".crop(0,0,4,4).Telecide(order=1)", "Telecide: the clip is too small to match fields"},
        {".Telecide(order=2)", "Telecide: order must be from 0 to 1, not 2"},
        {".Decimate(mode=2)", "Decimate: mode must be 0, 1 or 3, not 2"},
        {".Decimate(cycle=1)", "Decimate: cycle must be from 2 to 25, not 1"},
        {".autocrop(threshold=300)", "autocrop: threshold must be from 0 to 255, not 300"},
        {".autocrop(wmultof=3)", "autocrop: wmultof must be even, not 3"},
        {".KernelDeInt(threshold=-1)", "KernelDeInt: threshold must be from 0 to 255, not -1"},
    };
    for (const auto& c : cases) {
        SaveScript(SourceOnly(env_, source, c.filter), dir_.File("bad.avs"));
        const std::string error = server_.Open(dir_.File("bad.avs"));
        EXPECT_NE(error.find(c.error), std::string::npos) << c.filter << ": " << error;
    }
}

}  // namespace
