// The index file's lines and the field order stage with its analysis runs.
#include <gtest/gtest.h>

#include "DecideFakes.h"
#include "encoder/rules/IndexLines.h"
#include "util/PathText.h"
#include "util/utils.h"

namespace {

TIndexLines Lines(const std::string& text) {
    TIndexLines lines;
    SplitText(text, "\n", &lines);
    for (std::string& line : lines)
        if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!lines.empty() && lines.back().empty()) lines.pop_back();
    return lines;
}

TEST(DecideIndexLines, FilmPercentAndItsFaults) {
    EXPECT_DOUBLE_EQ(FilmPercentOf(Lines(IndexText(1, 3, "FINISHED  99.83% FILM")), "i"), 99.83);
    EXPECT_DOUBLE_EQ(FilmPercentOf({"a b 12.5%"}, "i"), 12.5);
    for (const TIndexLines& bad : {TIndexLines{}, TIndexLines{"FINISHED 99%"},
                                   TIndexLines{"FINISHED x abc%"}, TIndexLines{""}}) {
        try {
            FilmPercentOf(bad, "/t/film.d2v");
            ADD_FAILURE() << "accepted";
        } catch (const std::runtime_error& e) {
            EXPECT_NE(std::string(e.what()).find("/t/film.d2v"), std::string::npos);
        }
    }
}

TEST(DecideIndexLines, FieldOperationRewrite) {
    TIndexLines lines = Lines(IndexText(2, 3, "FINISHED 0.00% FILM"));
    ASSERT_TRUE(SetFieldOperation(lines, kForcedFilmOperation, kFilmFrameRate, "i"));
    EXPECT_EQ(lines[7], kForcedFilmOperation);
    EXPECT_EQ(lines[8], "Frame_Rate=23976");
    ASSERT_TRUE(SetFieldOperation(lines, kSwapOrderOperation, "", "i"));
    EXPECT_EQ(lines[7], kSwapOrderOperation);
    EXPECT_EQ(lines[8], "Frame_Rate=23976");

    TIndexLines far(40, "x");  // only the first 31 lines are searched
    far[31] = "Field_Operation=0";
    EXPECT_FALSE(SetFieldOperation(far, kForcedFilmOperation, kFilmFrameRate, "i"));
    EXPECT_EQ(far[31], "Field_Operation=0");
    // A short file without the line, or with it last, is damaged rather than read past.
    TIndexLines shortFile{"a", "b"};
    EXPECT_THROW(SetFieldOperation(shortFile, kForcedFilmOperation, kFilmFrameRate, "i"),
                 std::runtime_error);
    TIndexLines last{"a", "Field_Operation=0"};
    EXPECT_THROW(SetFieldOperation(last, kForcedFilmOperation, kFilmFrameRate, "i"),
                 std::runtime_error);
}

TEST(DecideIndexLines, FrameCountAndPulldown) {
    const TIndexLines lines = Lines(IndexText(10, 1000, "FINISHED  99.83% FILM"));
    EXPECT_EQ(CountIndexFrames(lines, "i"), 9999);
    EXPECT_THROW(CountIndexFrames({"a", "", "b"}, "i"), std::runtime_error);
    EXPECT_EQ(CountIndexFrames({"", ""}, "i"), -1);  // no entries at all

    struct Row {
        int64_t index;
        uint8_t type;
        double film;
        bool pal;
        int64_t frames;
        int32_t key;
    };
    const Row rows[] = {
        {9999, stForcedFilm, 99.83, false, 9999 - 3, 240},  // 0.17 % of 9999 × 0.2 = 3.4
        {9999, stFilm, 50, false, 9999 - 1000, 240},        // 999.9
        {9999, stHybridFilm, 0, false, 9999 - 2000, 240},   // 1999.8
        {9999, stProgressive, 0, true, 9999, 250},
        {9999, stInterlaced, 0, true, 9999, 250},
        {9999, stHybridVideo, 40, false, 9999 + 1000, 300},  // 999.9
        {10000, stProgressive, 0.2, false, 10000 + 5, 300},  // 10000 × 0.002 × 0.25 = 5
    };
    for (const Row& row : rows) {
        const TFrameEstimate e = EstimateFrames(row.index, row.type, row.film, row.pal);
        EXPECT_EQ(e.FrameCount, row.frames) << int(row.type) << " " << row.film;
        EXPECT_EQ(e.MaxKeyInterval, row.key);
    }
    // Halves go to the even neighbour: 20 × 0.1 × 0.25 = 0.5, 60 × 0.1 × 0.25 = 1.5.
    EXPECT_EQ(EstimateFrames(20, stProgressive, 10, false).FrameCount, 20);
    EXPECT_EQ(EstimateFrames(60, stProgressive, 10, false).FrameCount, 62);
}

class DecideFieldOrderTest : public DecideRunTest {
  protected:
    std::unique_ptr<TMXEncoder> Run(bool ntsc, const std::string& index) {
        TEncRecord job = TestJob(Output());
        job.InputDir = dir.File("dvd");
        job.VobInfo.Video.IsNTSC = ntsc;
        auto run = std::make_unique<TMXEncoder>(job, false);
        run->Source.D2VFile = run->TempFile(".d2v");
        EXPECT_TRUE(platform::WriteFileText(run->Source.D2VFile, index));
        return run;
    }
};

TEST_F(DecideFieldOrderTest, PureFilmIsRewrittenAndNotAnalysed) {
    auto run = Run(true, IndexText(10, 1000, "FINISHED  99.83% FILM"));
    kDetectFieldOrder.Work(*run);
    EXPECT_TRUE(Calls().empty());
    EXPECT_EQ(run->Source.SourceType, stForcedFilm);
    EXPECT_EQ(run->Source.FrameCount, 9996);
    EXPECT_EQ(run->Plan.XviDParams.MaxKeyInterval, 240);
    EXPECT_EQ(run->Plan.DivXParams.MaxKeyInterval, 240);
    const auto saved = LoadTextLines(run->Source.D2VFile);
    EXPECT_EQ(saved[7], kForcedFilmOperation);
    EXPECT_EQ(saved[8], kFilmFrameRate);
    EXPECT_EQ(Story(run->JobLog),
              (std::vector<std::string>{"Source seems to be pure FILM.", "Found 9996 frames"}));
}

TEST_F(DecideFieldOrderTest, NinetyNinePercentIsAnalysedAsHybrid) {
    // 10 blocks: 12 telecined and 18 progressive windows, S = 0.6.
    Prepare("interlace1.log", LogText(Marks(Repeat(Block("CCMMM", "MMMMM", "MMMMM"), 4) +
                                            Repeat(Block("CCMMM", "CCMMM", "MMMMM"), 4) +
                                            Repeat(Block("MMMMM", "MMMMM", "MMMMM"), 2))));
    Prepare("debug.txt", "Decimate: 13: 1.53\nDecimate: 12: 1.8\nDecimate: 15: 2.4\n");
    ASSERT_TRUE(platform::ForceDirectories(dir.File("dvd")));
    ASSERT_TRUE(platform::WriteFileText(dir.File("dvd/.ivtc"), ""));
    auto run = Run(true, IndexText(10, 1000, "FINISHED  99.00% FILM"));
    kDetectFieldOrder.Work(*run);
    const auto calls = Calls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0], Program().VDubModPath + " /nowrite /x /s\"" + run->JobScriptFile + "\"");
    EXPECT_EQ(run->Source.SourceType, stFilm);  // forced by ".ivtc"
    EXPECT_DOUBLE_EQ(run->Source.HybridThreshold, 1.54);
    EXPECT_EQ(run->Source.FrameCount, 9999 - 20);  // FILM output: 1 % of 9999 × 0.2
    EXPECT_EQ(Story(run->JobLog),
              (std::vector<std::string>{
                  "Analyzing source.", "Writing the following script to " + run->JobScriptFile,
                  "Source has percentage of interlacing in motion areas: 16.00",
                  "Source has percentage of telecined patterns: 40.00",
                  "Source has percentage of progressive patterns: 60.00",
                  "Source has percentage of interlaced patterns: 0.00",
                  "Source is considered to be hybrid (mostly NTSC).",
                  "Looking for optimal hybrid thresholds.",
                  "Writing the following script to " + run->JobScriptFile,
                  "Found threshold of: 1.54", "Forcing normal IVTC method.", "Found 9979 frames"}));
    EXPECT_NE(LoadTextLines(run->TempFolder() + "_test.avs").size(), 0u);
}

TEST_F(DecideFieldOrderTest, InterlacedPalTriesTheSwappedOrder) {
    struct Row {
        int combedSecond;
        bool alternative;
    };
    // 60 of 600 first; 57 is half a point lower (kept), 51 a point and a half (switched).
    for (const Row row : {Row{57, false}, Row{51, true}}) {
        platform::DeleteTree(fakeDir + "/analyses.txt");
        platform::DeleteTree(fakeDir + "/calls.txt");
        Prepare("interlace1.log", LogText(Marks(CombedShare(60))));
        Prepare("interlace2.log", LogText(Marks(CombedShare(row.combedSecond))));
        auto run = Run(false, IndexText(10, 1000, "FINISHED 0.00% FILM"));
        const std::string first = run->Source.D2VFile;
        kDetectFieldOrder.Work(*run);
        EXPECT_EQ(Calls().size(), 2u);
        EXPECT_EQ(run->Source.SourceType, stInterlaced);
        EXPECT_EQ(run->Source.D2VFile, row.alternative ? ChangeFileExt(first, "_alt.d2v") : first);
        EXPECT_EQ(LoadTextLines(ChangeFileExt(first, "_alt.d2v"))[7], kSwapOrderOperation);
        EXPECT_EQ(run->Source.FrameCount, 9999);
        EXPECT_EQ(run->Plan.XviDParams.MaxKeyInterval, 250);
        const auto story = Story(run->JobLog);
        EXPECT_EQ(std::count(story.begin(), story.end(), "Choosing alternative field order."),
                  row.alternative ? 1 : 0);
        EXPECT_EQ(story[4], "Analyzing PAL source with different field order.");
    }
}

TEST_F(DecideFieldOrderTest, ProgressivePalIsAnalysedOnceAndAMissingLogEndsTheJob) {
    Prepare("interlace1.log", LogText(Marks(CombedShare(12))));  // exactly 2 %
    auto run = Run(false, IndexText(10, 1000, "FINISHED 0.00% FILM"));
    kDetectFieldOrder.Work(*run);
    EXPECT_EQ(Calls().size(), 1u);
    EXPECT_EQ(run->Source.SourceType, stProgressive);
    EXPECT_EQ(Story(run->JobLog).back(), "Found 9999 frames");

    platform::DeleteTree(fakeDir + "/analyses.txt");  // the fake now finds no log to leave...
    platform::DeleteTree(fakeDir + "/interlace1.log");
    Program().VDubModPath = Helper("spine_record");  // ...or a runner that leaves nothing
    auto missing = Run(false, IndexText(10, 1000, "FINISHED 0.00% FILM"));
    EXPECT_THROW(kDetectFieldOrder.Work(*missing), std::runtime_error);
}

TEST_F(DecideFieldOrderTest, PreviewCountsWithoutAnalysis) {
    TEncRecord job = TestJob(Output());
    job.VobInfo.Video.IsNTSC = true;
    TMXEncoder run(job, true);
    run.Source.D2VFile = dir.File("preview.d2v");
    ASSERT_TRUE(
        platform::WriteFileText(run.Source.D2VFile, IndexText(4, 10, "FINISHED  20.00% FILM")));
    kDetectFieldOrder.Work(run);
    EXPECT_TRUE(Calls().empty());
    EXPECT_EQ(run.Source.FrameCount, 39 + 2);  // 20 % of 39 × 0.25 = 1.95
    EXPECT_TRUE(run.JobLog.empty());
}

}  // namespace
