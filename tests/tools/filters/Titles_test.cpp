// The planner's scripts on generated titles through the installed frame server, decoder and
// filters: what the planner's own stages make of real analysis runs, and what the movie
// script's frames are, judged against ffmpeg's decodes and the comb test.
#include <algorithm>
#include <filesystem>

#include "TitleHarness.h"
#include "decomb/Combing.h"
#include "decomb/Metric.h"
#include "encoder/encoder.h"
#include "encoder/stages/Stages.h"
#include "jobs/ProgramValues.h"
#include "platform/files.h"
#include "support/GeneratedMedia.h"

namespace {

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

// Every frame served is the film frame of its number (ffmpeg's decode of the film stream) and
// whole.
void ExpectFilmFrames(filtertest::Server& ivtc, const Titles& test, int frames) {
    for (int n = 0; n < frames; ++n) {
        const auto frame = ivtc.Frame(n);
        ASSERT_GT(LumaPsnr(*frame, *test.Reference("film.y4m", n)), 40) << "frame " << n;
        ASSERT_FALSE(ivtc::IsCombedFrame(*frame, 30)) << "frame " << n;
    }
}

// The decoder serves the soft-pulldown title with its repeated fields as a player shows it
// (ffmpeg's telecine of the film), forced FILM as the film itself, and the hard-telecined title
// as coded; the NTSC titles are top field first, which the scripts' getOrder() gives Telecide.
TEST_F(Titles, TheDecoderServesWhatFfmpegDecodes) {
    const struct {
        const char* title;
        int frames;
    } cases[] = {{"soft", 200}, {"film", kFilmFrames}, {"hard", 200}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.title);
        Open(SourceOnly(TitleOf(c.title)));
        ASSERT_EQ(server_.Frames(), c.frames);
        EXPECT_EQ(server_.Parity(0), 1);
        for (int n = 0; n < c.frames; ++n)
            ASSERT_EQ(LumaPsnr(*server_.Frame(n), *Reference(c.title + std::string(".y4m"), n)), 99)
                << "frame " << n;
    }
}

// Field matching makes every film frame whole, leaving one duplicate in each cycle of five whose
// metric is far below that of the moving frames; decimation drops it.
TEST_F(Titles, FilmScriptGivesEveryFilmFrameOnceAndWhole) {
    for (const char* name : {"soft", "hard"}) {
        SCOPED_TRACE(name);
        const Title title = TitleOf(name);
        Open(SourceOnly(title, ".Telecide(order=1,guide=1,post=2)"));
        for (int cycle = 0; cycle < 200; cycle += 5) {
            std::vector<double> metrics;
            for (int n = cycle; n < cycle + 5; ++n)
                metrics.push_back(
                    ivtc::FrameDifference(*server_.Frame(n), *server_.Frame(std::max(n - 1, 0))));
            std::sort(metrics.begin(), metrics.end());
            EXPECT_LT(metrics[0], 0.5) << "cycle at " << cycle;
            if (cycle > 0) {
                EXPECT_GT(metrics[1], 2) << "cycle at " << cycle;
            }
        }
        TScriptLines lines;
        MakeMovieScript(lines, MovieOf(title, stFilm), TMovieScriptUse::Encoding, env_);
        Open(lines);
        EXPECT_EQ(server_.Frames(), kFilmFrames);
        EXPECT_EQ(server_.Width(), 640);
        EXPECT_EQ(server_.Height(), 480);
        EXPECT_NEAR(server_.Rate(), 24000.0 / 1001, 1e-9);
        Open(UpTo(lines, "Telecide("));
        ExpectFilmFrames(server_, *this, kFilmFrames);
    }
}

// The planner's indexing and field-order stages on each title with the installed indexer and job
// runner: the analysis log, the debug strings and the planner's rules decide, as in a job.
class PlannerStages : public Titles {
  protected:
    void SetUp() override {
        Titles::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        const auto dvd = testing_support::MakeMedia("make_dvd_titles.sh", "dvd");
        if (!dvd.SkipReason.empty()) GTEST_SKIP() << dvd.SkipReason;
        ASSERT_EQ(dvd.Error, "");
        dvd_ = dvd.Folder;
        saved_ = Program();
        Program().ProgramDir = dir_.Path();
        Program().DVD2AVIPath = testing_support::DistDir() + "/DVD2AVI/DVD2AVIdg.exe";
        Program().VDubModPath = testing_support::DistDir() + "/VDubMod/VirtualDubMod.exe";
        Program().HasSSE = true;
    }
    void TearDown() override { Program() = saved_; }
    // The source record after the two stages on the title in `rip`.
    std::unique_ptr<TMXEncoder> Detect(const std::string& rip, const std::string& vob, bool ntsc) {
        TEncRecord job = InitialEncSettings();
        job.InputDir = rip;
        job.OutputFile = dir_.File("out/film.avi");
        job.VobInfo.FirstVob = vob;
        job.VobInfo.Video.IsNTSC = ntsc;
        job.AudioTrack = job.AudioTrack2 = job.SubTrack = job.SubTrack2 = -1;
        auto run = std::make_unique<TMXEncoder>(job, false);
        run->IdctChoice = 3;
        EXPECT_TRUE(platform::ForceDirectories(run->TempFolder()));
        kIndexForEncoding.Work(*run);
        kDetectFieldOrder.Work(*run);
        return run;
    }

    std::string dvd_;
    TProgramValues saved_;
};

TEST_F(PlannerStages, ClassifyEveryTitle) {
    const struct {
        std::string rip;
        const char* vob;
        bool ntsc;
        uint8_t type;
    } cases[] = {
        {clips_ + "/titles/film/rip", "VTS_01_1.VOB", true, stForcedFilm},
        {clips_ + "/titles/hard/rip", "VTS_01_1.VOB", true, stFilm},
        {clips_ + "/titles/interlaced/rip", "VTS_01_1.VOB", true, stInterlaced},
        {clips_ + "/titles/progressive/rip", "VTS_01_1.VOB", true, stProgressive},
        {clips_ + "/titles/hybrid/rip", "VTS_01_1.VOB", true, stHybridFilm},
        {clips_ + "/titles/letterbox/rip", "VTS_01_1.VOB", false, stProgressive},
        {dvd_ + "/ntsc_film/rip", "VTS_01_1.VOB", true, stForcedFilm},
        // Only the first 18 of its 90 frames are sampled: the film part, of a picture too still
        // to count as moving.
        {dvd_ + "/ntsc_hybrid/rip", "VTS_01_1.VOB", true, stProgressive},
        {dvd_ + "/ntsc_sets/rip", "VTS_01_1.VOB", true, stProgressive},
        {dvd_ + "/pal_wide/rip", "VTS_01_1.VOB", false, stProgressive},
        {dvd_ + "/pal_shifted/rip", "VTS_01_1.VOB", false, stProgressive},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rip);
        const auto run = Detect(c.rip, c.vob, c.ntsc);
        EXPECT_EQ(int(run->Source.SourceType), int(c.type));
        const bool hybrid = c.type == stHybridFilm || c.type == stHybridVideo;
        if (hybrid) {
            EXPECT_GT(run->Source.HybridThreshold, 0.01);
        }
        EXPECT_LT(run->Source.HybridThreshold, hybrid ? 1 : 0.001);
        // Only the phase-shifted film needs its fields paired one later.
        EXPECT_EQ(run->Source.D2VFile.ends_with("_alt.d2v"), c.rip.ends_with("pal_shifted/rip"));
    }
}

// With the threshold the planner found, the hybrid's film stays film and its video is blended
// down to the same rate, uncombed.
TEST_F(Titles, HybridMovieKeepsTheFilmAndBlendsTheVideo) {
    TMovieScriptParams run = MovieOf(TitleOf("hybrid"), stHybridFilm);
    run.HybridThreshold = 0.5;
    TScriptLines lines;
    MakeMovieScript(lines, run, TMovieScriptUse::Encoding, env_);
    Open(UpTo(lines, "Telecide("));
    ASSERT_EQ(server_.Frames(), 380 / 5 * 4);
    ExpectFilmFrames(server_, *this, kFilmFrames);
    for (int n = kFilmFrames; n < server_.Frames(); ++n)
        ASSERT_FALSE(ivtc::IsCombedFrame(*server_.Frame(n), 30)) << "frame " << n;
}

// 720x576 with 72 black lines above and below a 16:9 picture: the first crop finds the picture,
// the size arithmetic makes 640x352, and the second crop cuts the picture to that shape.
TEST_F(Titles, AutocropFindsTheLetterboxAndTheMovieGetsItsIntendedSize) {
    const Title title = TitleOf("letterbox");
    Open(SourceOnly(title,
                    ".autocrop(mode=0,wmultof=4,hmultof=4,samples=10,aspect=0,threshold=35)"));
    EXPECT_EQ(server_.Width(), 720);
    EXPECT_EQ(server_.Height(), 432);
    filtertest::Server source;
    OpenOn(source, SourceOnly(title, ".crop(0,72,720,432)"), "src.avs");
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
    const Title progressive = TitleOf("progressive");
    TScriptLines lines = SourceOnly(progressive);
    lines.push_back("Trim(10,-1)\r\nlast + last + last\r\nKernelDeInt(order=1,sharp=true)");
    Open(lines);
    filtertest::Server source;
    OpenOn(source, SourceOnly(progressive), "src.avs");
    // The library's kernel always rebuilds the outermost lines of the other field.
    for (int n : {1, 2}) EXPECT_EQ(LumaPsnr(*server_.Frame(n), *source.Frame(10), 4), 99) << n;

    MakeMovieScript(lines, MovieOf(TitleOf("interlaced"), stInterlaced), TMovieScriptUse::Encoding,
                    env_);
    Open(UpTo(lines, "KernelDeInt("));
    ASSERT_EQ(server_.Frames(), 200);
    for (int n = 0; n < server_.Frames(); ++n)
        ASSERT_FALSE(ivtc::IsCombedFrame(*server_.Frame(n), 30)) << "frame " << n;
}

TEST_F(Titles, BadArgumentsAreErrorsNamingTheFilter) {
    const Title title = TitleOf("progressive");
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
        SaveScript(SourceOnly(title, c.filter), dir_.File("bad.avs"));
        const std::string error = server_.Open(dir_.File("bad.avs"));
        EXPECT_NE(error.find(c.error), std::string::npos) << c.filter << ": " << error;
    }
}

}  // namespace
