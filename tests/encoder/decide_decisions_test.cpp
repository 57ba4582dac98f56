// The picture and codec decisions: start settings, credits, height, and the adjustment tables.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <map>

#include "encoder/EncoderTestSupport.h"
#include "encoder/rules/Decisions.h"
#include "platform/files.h"

namespace {

TEncRecord Job(int32_t targetSize, uint8_t codec = kCodecXviD) {
    TEncRecord r;
    r.TargetSize = targetSize;
    r.Codec = codec;
    return r;
}

TEST(DecideStart, QualityModeQuantizersAndLevels) {
    struct Row {
        int32_t quality;
        bool newXviD;
        int32_t minQ, maxQ, level, vbr;
    };
    const Row rows[] = {
        {75, true, 2, 4, 267, 27},   // 200/75 = 2.67
        {75, false, 2, 4, 67, 27},   // 100 - round((266.67 - 200) / 2)
        {100, true, 2, 2, 200, 20},  // the top quality pins every quantizer at 2
        {100, false, 2, 2, 100, 20},
        {40, true, 5, 6, 500, 50},  // 200/40 is whole: ceil adds nothing before the +1
        {30, false, 6, 8, 67, 67},  // 100 - round((666.67 - 600) / 2)
    };
    for (const Row& row : rows) {
        TEncRecord r = Job(700);
        r.QualityMode = true;
        r.Quality = row.quality;
        TXviDCodecParams x;
        TDivXCodecParams d;
        const TStartSettings s = ChooseStartSettings(r, row.newXviD, x, d);
        SCOPED_TRACE(row.quality);
        EXPECT_EQ(s.OutWidth, 704);
        EXPECT_EQ(s.ResizeTemplate, kLanczosTemplate);
        EXPECT_EQ(x.MinIQuant, row.minQ);
        EXPECT_EQ(x.MinPQuant, row.minQ);
        EXPECT_EQ(x.MaxIQuant, row.maxQ);
        EXPECT_EQ(x.MaxPQuant, row.maxQ);
        EXPECT_EQ(x.QualityLevel, row.level);
        EXPECT_EQ(d.VbrQuality, row.vbr);
        EXPECT_EQ(x.BFrames, 1);
        EXPECT_EQ(d.Bidirectional, 1);
        EXPECT_EQ(x.MatrixType, 1);
    }
}

TEST(DecideStart, MaximumQualitySizeModeAndFixedWidth) {
    TXviDCodecParams x;
    TDivXCodecParams d;
    TEncRecord best = Job(0);
    best.QualityMode = true;
    best.Quality = 100;
    EXPECT_EQ(ChooseStartSettings(best, true, x, d).OutWidth, 720);
    EXPECT_EQ(x.BFrames, -1);
    EXPECT_EQ(d.Bidirectional, 0);
    EXPECT_EQ(x.MaxIQuant, 2);
    EXPECT_EQ(d.VbrQuality, 20);

    for (int32_t size : {705, 706}) {
        TXviDCodecParams xs;
        TDivXCodecParams ds;
        const TStartSettings s = ChooseStartSettings(Job(size), true, xs, ds);
        EXPECT_EQ(s.OutWidth, size == 706 ? 704 : 640);
        EXPECT_EQ(xs.MatrixType, size == 706 ? 1 : 0);
        EXPECT_EQ(xs.MinIQuant, 2);
        EXPECT_EQ(xs.MaxIQuant, 3);
        EXPECT_EQ(xs.BFrames, 1);
        EXPECT_EQ(ds.Bidirectional, 1);
    }
    TEncRecord fixed = Job(1400);
    fixed.ResizeMode = kResizeFixed;
    fixed.TargetWidth = 528;
    EXPECT_EQ(ChooseStartSettings(fixed, true, x, d).OutWidth, 528);
}

TEST(DecideStart, QualityOutsideItsRangeIsRefused) {
    TEncRecord r = Job(700);
    r.QualityMode = true;
    r.Quality = 0;
    TXviDCodecParams x;
    TDivXCodecParams d;
    EXPECT_THROW(ChooseStartSettings(r, true, x, d), std::invalid_argument);
}

TEST(DecideStart, PixelAspects) {
    EXPECT_DOUBLE_EQ(PixelAspectFor(false, false), 128.0 / 117.0);
    EXPECT_DOUBLE_EQ(PixelAspectFor(true, false), 72.0 / 79.0);
    EXPECT_DOUBLE_EQ(PixelAspectFor(true, true), 72.0 / 79.0 * 4 / 3);
    EXPECT_DOUBLE_EQ(PixelAspectFor(false, true), 128.0 / 117.0 * 4 / 3);
}

TEST(DecideCredits, FilmSourceScalesTheFrame) {
    TXviDCodecParams x;
    std::vector<std::string> messages;
    ReadCreditsLines({"130000", "50", "1"}, true, "/dvd/.credits", x, messages);
    EXPECT_EQ(x.CreditsFrame, 104000);
    EXPECT_EQ(x.CreditsWeight, 50);
    EXPECT_TRUE(x.CreditsGreyscale);
    EXPECT_EQ(messages, (std::vector<std::string>{"Credits start frame: 130000",
                                                  "Credits quality percentage: 50",
                                                  "Credits greyscale option activated."}));

    TXviDCodecParams video;
    messages.clear();
    ReadCreditsLines({"1001", "30", "false", "extra"}, false, "c", video, messages);
    EXPECT_EQ(video.CreditsFrame, 1001);
    EXPECT_FALSE(video.CreditsGreyscale);
    EXPECT_EQ(messages.size(), 2u);

    TXviDCodecParams none;
    ReadCreditsLines({"1001", "30"}, false, "c", none, messages);
    EXPECT_EQ(none.CreditsFrame, 0);
}

TEST(DecideCredits, DamagedLinesNameTheFile) {
    TXviDCodecParams x;
    std::vector<std::string> messages;
    for (const auto& lines :
         {std::vector<std::string>{"abc", "50", "1"}, std::vector<std::string>{"100", "", "1"},
          std::vector<std::string>{"100", "50", "maybe"},
          std::vector<std::string>{"99999999999", "50", "1"}}) {
        try {
            ReadCreditsLines(lines, false, "/dvd/.credits", x, messages);
            ADD_FAILURE() << "accepted " << lines[0] << "/" << lines[1] << "/" << lines[2];
        } catch (const std::runtime_error& e) {
            EXPECT_NE(std::string(e.what()).find("/dvd/.credits"), std::string::npos);
        }
    }
}

TEST(DecideHeight, RoundsToSixteenUpOnlyAboveFour) {
    EXPECT_EQ(HeightFor(640, 640.0 / 272), 272);
    EXPECT_EQ(HeightFor(704, 16.0 / 9), 400);     // 396: remainder 12 goes up
    EXPECT_EQ(HeightFor(640, 640.0 / 356), 352);  // remainder 4 goes down
    EXPECT_EQ(HeightFor(640, 640.0 / 357), 368);  // remainder 5 goes up
    EXPECT_EQ(HeightFor(640, 0), 0);              // no aspect: no usable height
}

// ---- Adjustment

// A prediction read from a table of widths; widths not listed give `otherwise`.
std::function<double(int32_t)> Table(std::map<int32_t, double> rows, double otherwise) {
    return [rows, otherwise](int32_t w) {
        auto it = rows.find(w);
        return it == rows.end() ? otherwise : it->second;
    };
}

struct Case {
    TAdjustInputs in;
    TAdjustState s;
};

Case Start(uint8_t codec, int32_t size, int32_t width, double r, double aspect = 16.0 / 9) {
    Case c;
    c.in.Codec = codec;
    c.in.TargetSize = size;
    c.in.Aspect = aspect;
    if (codec == kCodecDivX) {
        c.in.BFramesFactor = 0.818, c.in.MatrixFactor = 1, c.in.ResizerFactor = 0.938;
    } else {
        c.in.BFramesFactor = 0.74, c.in.MatrixFactor = 0.862, c.in.ResizerFactor = 0.953;
    }
    c.s.R = r;
    c.s.Width = width;
    c.s.ResizeTemplate = kLanczosTemplate;
    c.s.MatrixType = size >= 706 ? 1 : 0;
    c.s.BFrames = 1;
    c.s.Bidirectional = 1;
    c.in.Predict = [r](int32_t) { return r; };
    return c;
}

using Messages = std::vector<std::string>;

TEST(DecideAdjust, LargeXviDAboveTheBandSwitchesBFramesOff) {
    Case c = Start(kCodecXviD, 1400, 704, 0.97);
    AdjustAfterTest(c.in, c.s);
    EXPECT_EQ(c.s.BFrames, -1);
    EXPECT_DOUBLE_EQ(c.s.R, 0.97 * 0.74);
    EXPECT_EQ(c.s.Width, 704);
    EXPECT_EQ(c.s.Messages, Messages{"Switching b-frames off."});
}

TEST(DecideAdjust, SmallDivXGrowsTheWidthIntoTheBand) {
    Case c = Start(kCodecDivX, 700, 640, 0.9);
    c.in.Predict = Table({{656, 0.87}, {672, 0.84}}, 0.5);
    AdjustAfterTest(c.in, c.s);
    EXPECT_EQ(c.s.Width, 672);
    EXPECT_DOUBLE_EQ(c.s.R, 0.84);
    EXPECT_EQ(c.s.Bidirectional, 1);
    EXPECT_TRUE(c.s.Messages.empty());

    Case full = Start(kCodecDivX, 700, 640, 0.9);  // never inside the band: 704, then B-frames
    AdjustAfterTest(full.in, full.s);
    EXPECT_EQ(full.s.Width, 704);
    EXPECT_EQ(full.s.Bidirectional, 0);
    EXPECT_DOUBLE_EQ(full.s.R, 0.9 * 0.818);
    EXPECT_EQ(full.s.Messages, Messages{"Switching b-frames off."});
}

TEST(DecideAdjust, SmallXviDAtFullWidthSharpensThenDropsBFrames) {
    Case c = Start(kCodecXviD, 700, 640, 1.3);
    AdjustAfterTest(c.in, c.s);
    EXPECT_EQ(c.s.Width, 704);
    EXPECT_EQ(c.s.MatrixType, 1);
    EXPECT_EQ(c.s.BFrames, -1);
    EXPECT_DOUBLE_EQ(c.s.R, 1.3 * 0.862 * 0.74);
    EXPECT_EQ(c.s.Messages, (Messages{"Using sharper matrix", "Switching b-frames off"}));
}

TEST(DecideAdjust, MinimumWidthStopsShrinkingWithTheSofterResizer) {
    Case c = Start(kCodecDivX, 700, 640, 0.5);
    c.in.ResizeMode = kResizeMinimum;
    c.in.TargetWidth = 576;
    AdjustAfterTest(c.in, c.s);
    EXPECT_EQ(c.s.Width, 576);
    EXPECT_EQ(c.s.ResizeTemplate, kBicubicTemplate);
    // Once at the corner (608 for a wide picture) and once at the minimum width.
    EXPECT_EQ(c.s.Messages, (Messages{"Using softer resizer.", "Using softer resizer."}));
    EXPECT_DOUBLE_EQ(c.s.R, 0.5 / 0.938);
}

TEST(DecideAdjust, CornerWidthDependsOnTheAspect) {
    // 2.35:1: at 608 the threshold drops to 0.6, which 0.62 already meets.
    Case wide = Start(kCodecDivX, 700, 640, 0.55, 2.35);
    wide.in.Predict = Table({{624, 0.58}, {608, 0.62}, {592, 0.65}, {576, 0.72}}, 0.3);
    AdjustAfterTest(wide.in, wide.s);
    EXPECT_EQ(wide.s.Width, 608);
    EXPECT_TRUE(wide.s.Messages.empty());

    // 4:3: 608 is no corner, so the width goes on down to the 0.7 of the normal band.
    Case narrow = Start(kCodecDivX, 700, 640, 0.55, 4.0 / 3);
    narrow.in.Predict = wide.in.Predict;
    AdjustAfterTest(narrow.in, narrow.s);
    EXPECT_EQ(narrow.s.Width, 576);
    EXPECT_DOUBLE_EQ(narrow.s.R, 0.72);
}

TEST(DecideAdjust, LargeXviDCornerTriesTheSofterMatrixFirst) {
    // At 608 the softer matrix lifts R over 0.7, so the width still shrinks (dropping the
    // correction) until the plain prediction reaches the band.
    Case c = Start(kCodecXviD, 1400, 704, 0.5);
    c.in.Predict = Table({{608, 0.65}, {592, 0.69}, {576, 0.71}}, 0.5);
    AdjustAfterTest(c.in, c.s);
    EXPECT_EQ(c.s.Width, 576);
    EXPECT_EQ(c.s.MatrixType, 0);
    EXPECT_DOUBLE_EQ(c.s.R, 0.71);
    EXPECT_EQ(c.s.Messages, Messages{"Using softer matrix."});

    // Still below 0.7 after the matrix: threshold 0.6, softer resizer, shrink to 0.6.
    Case low = Start(kCodecXviD, 1400, 704, 0.4);
    low.in.Predict = Table({{608, 0.4}, {592, 0.55}, {576, 0.61}}, 0.4);
    AdjustAfterTest(low.in, low.s);
    EXPECT_EQ(low.s.Width, 576);
    EXPECT_EQ(low.s.ResizeTemplate, kBicubicTemplate);
    EXPECT_EQ(low.s.Messages, (Messages{"Using softer matrix.", "Using softer resizer."}));
}

TEST(DecideAdjust, LargeDivXCornerAndMinimum) {
    Case c = Start(kCodecDivX, 1400, 704, 0.5);
    c.in.Predict = Table({{608, 0.5}, {592, 0.58}, {576, 0.6}}, 0.5);
    AdjustAfterTest(c.in, c.s);
    EXPECT_EQ(c.s.Width, 576);
    EXPECT_EQ(c.s.Messages, Messages{"Using softer resizer."});

    Case m = Start(kCodecDivX, 1400, 704, 0.5);
    m.in.ResizeMode = kResizeMinimum;
    m.in.TargetWidth = 672;
    AdjustAfterTest(m.in, m.s);
    EXPECT_EQ(m.s.Width, 672);
    EXPECT_EQ(m.s.Messages, Messages{"Using softer resizer."});
}

TEST(DecideAdjust, FixedWidthNeverMoves) {
    struct Row {
        uint8_t codec;
        int32_t size;
        double r;
        Messages messages;
        double expectedR;
    };
    const Row rows[] = {
        {kCodecXviD, 700, 0.9, {"Using sharper matrix"}, 0.9 * 0.862},
        {kCodecXviD,
         700,
         1.3,
         {"Using sharper matrix", "Switching b-frames off"},
         1.3 * 0.862 * 0.74},
        {kCodecXviD, 700, 0.5, {}, 0.5},
        {kCodecXviD, 1400, 0.65, {"Using softer matrix."}, 0.65 / 0.862},
        {kCodecXviD,
         1400,
         0.5,
         {"Using softer matrix.", "Using softer resizer."},
         0.5 / 0.862 / 0.953},
        {kCodecXviD, 1400, 0.96, {"Switching b-frames off."}, 0.96 * 0.74},
        {kCodecDivX, 1400, 0.5, {"Using softer resizer."}, 0.5 / 0.938},
        {kCodecDivX, 700, 0.96, {"Switching b-frames off."}, 0.96 * 0.818},
        {kCodecDivX, 700, 0.3, {}, 0.3},
    };
    for (const Row& row : rows) {
        Case c = Start(row.codec, row.size, 528, row.r);
        c.in.ResizeMode = kResizeFixed;
        c.in.TargetWidth = 528;
        AdjustAfterTest(c.in, c.s);
        SCOPED_TRACE(std::to_string(row.codec) + " " + std::to_string(row.size) + " " +
                     std::to_string(row.r));
        EXPECT_EQ(c.s.Width, 528);
        EXPECT_EQ(c.s.Messages, row.messages);
        EXPECT_DOUBLE_EQ(c.s.R, row.expectedR);
    }
}

TEST(DecideAdjust, PredictionThatNeverReachesTheBandStopsAtTheSmallestWidth) {
    for (uint8_t codec : {kCodecXviD, kCodecDivX})
        for (int32_t size : {700, 1400}) {
            Case c = Start(codec, size, size >= 706 ? 704 : 640, 0.1);
            AdjustAfterTest(c.in, c.s);
            EXPECT_EQ(c.s.Width, 16);
        }
}

TEST(DecideCorrectionFactors, ByTheInstalledXviDAndTheMarker) {
    using Factors = std::array<double, 6>;
    auto factorsOf = [](bool newXviD) {
        const TCorrectionFactors plain = CorrectionFactors(kCodecXviD, newXviD, false);
        const TCorrectionFactors ess = CorrectionFactors(kCodecXviD, newXviD, true);
        return Factors{plain.BFrames, plain.Matrix, plain.Resizer,
                       ess.BFrames,   ess.Matrix,   ess.Resizer};
    };
    EXPECT_EQ(factorsOf(true), (Factors{0.74, 0.862, 0.953, 0.746, 0.906, 0.94}));
    EXPECT_EQ(factorsOf(false), (Factors{0.745, 0.855, 0.952, 0.768, 0.904, 0.939}));
    EXPECT_EQ(CorrectionFactors(kCodecDivX, true, true), (TCorrectionFactors{0.818, 1, 0.938}));
}

// The stage on a run: the factors by codec and marker, the log lines.
class DecideStageTest : public EncoderTest {};

TEST_F(DecideStageTest, InitialSettingsReadTheMarkersOfTheInputFolder) {
    TEncRecord job = TestJob(Output());
    job.InputDir = dir.File("dvd");
    job.TargetSize = 1400;
    job.Log = &window;
    ASSERT_TRUE(platform::ForceDirectories(job.InputDir));
    ASSERT_TRUE(platform::WriteFileText(job.InputDir + "/.cartoon", ""));
    ASSERT_TRUE(platform::WriteFileText(job.InputDir + "/.credits", "130000\r\n50\r\n1\r\n"));
    TMXEncoder run(job, false);
    run.Source.SourceType = stFilm;
    kChooseInitialSettings.Work(run);
    EXPECT_TRUE(run.Plan.XviDParams.Cartoon);
    EXPECT_EQ(run.Plan.XviDParams.CreditsFrame, 104000);
    EXPECT_EQ(run.Plan.OutWidth, 704);
    EXPECT_EQ(run.Plan.XviDParams.StatsFile, run.TempFile("_codec.log"));
    EXPECT_EQ(run.Plan.DivXParams.MvFile, run.TempFile("_codec.mv"));
    ASSERT_EQ(run.JobLog.size(), 4u);
    EXPECT_NE(run.JobLog[0].find("] Using cartoon mode."), std::string::npos);
    EXPECT_NE(run.JobLog[3].find("] Credits greyscale option activated."), std::string::npos);
}

TEST_F(DecideStageTest, AdjustmentPredictsFromTheBudget) {
    TEncRecord job = TestJob(Output());
    job.TargetSize = 700;
    job.Codec = kCodecDivX;
    TMXEncoder run(job, false);
    run.CompTest.CompAspect = 640.0 / 272;
    run.CompTest.CompBitsPerPixel = 0.2;
    run.Source.FrameCount = 1000;
    run.Plan.OutWidth = 640;
    // Exactly the sampled bits per pixel at 640x272: R 1.0, above the band up to 704.
    run.Budget.VideoSize = 640 * 272 / 5 * 1000 / 8;
    run.CompTest.CompRatio = PredictedRatio(run, 640);
    EXPECT_DOUBLE_EQ(run.CompTest.CompRatio, 1.0);
    kAdjustAfterCompTest.Work(run);
    EXPECT_EQ(run.Plan.OutWidth, 704);
    EXPECT_EQ(run.Plan.DivXParams.Bidirectional, 0);
    run.Source.FrameCount = 0;
    EXPECT_THROW(PredictedRatio(run, 640), std::runtime_error);
}

}  // namespace
