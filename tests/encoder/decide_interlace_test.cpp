// The reading of the analysis log: single windows, whole logs and the verdicts.
#include <gtest/gtest.h>

#include "DecideLogs.h"
#include "encoder/rules/InterlaceDetect.h"
#include "scripts/SourceType.h"

namespace {

struct WindowRow {
    const char* frames;  // prev2 prev1, five frames, next
    int32_t position;
    TInterlaceCounts counts;  // combed, clean, interlaced, progressive, telecined
};

TEST(DecideWindow, EveryBranchOfTheCombedCount) {
    const WindowRow rows[] = {
        {"ss"
         "sssss"
         "s",
         0,
         {0, 0, 0, 0, 0}},  // all static and clean: counts nowhere
        {"ss"
         "MMMss"
         "s",
         0,
         {0, 3, 0, 0, 0}},  // too few considered
        {"ss"
         "MMMMs"
         "s",
         0,
         {0, 4, 0, 1, 0}},  // no combing: progressive
        {"ss"
         "CCCss"
         "s",
         0,
         {3, 0, 0, 0, 0}},  // three combed but only three considered
        {"ss"
         "CCCMs"
         "s",
         0,
         {3, 1, 1, 0, 0}},  // interlaced
        {"sC"
         "CMMMs"
         "s",
         1,
         {1, 3, 0, 0, 1}},  // one combed after a combed frame
        {"CC"
         "CMMMs"
         "s",
         0,
         {1, 3, 0, 0, 0}},  // ... after two: no pattern
        {"ss"
         "CMMMs"
         "s",
         0,
         {1, 3, 0, 0, 0}},  // ... after none
        {"ss"
         "CCMMM"
         "s",
         2,
         {2, 3, 0, 0, 1}},  // adjacent pair at 1 and 2
        {"ss"
         "CCsss"
         "s",
         2,
         {2, 0, 0, 0, 1}},  // a pair counts with only two considered
        {"ss"
         "CMMMC"
         "s",
         0,
         {2, 3, 0, 0, 0}},  // 1 and 5 without prev1
        {"CC"
         "CMMMC"
         "s",
         0,
         {2, 3, 0, 0, 0}},  // 1 and 5 with prev1 and prev2
        {"sC"
         "CMMMC"
         "s",
         1,
         {2, 3, 0, 0, 1}},  // 1 and 5 with prev1 only
        {"sC"
         "CCMMM"
         "s",
         0,
         {2, 3, 0, 0, 0}},  // 1 and 2 continuing the combed frame before
        {"ss"
         "MMMCC"
         "C",
         0,
         {2, 3, 0, 0, 0}},  // 4 and 5 running into a combed frame
        {"ss"
         "MMMCC"
         "s",
         5,
         {2, 3, 0, 0, 1}},  // 4 and 5
        {"ss"
         "MCCMM"
         "s",
         3,
         {2, 3, 0, 0, 1}},  // 2 and 3
        {"ss"
         "CMCMM"
         "s",
         0,
         {2, 3, 0, 0, 0}},  // not adjacent
        {"cs"
         "MMMMs"
         "c",
         0,
         {0, 4, 0, 1, 0}},  // context frames judged on combing alone
    };
    for (const WindowRow& row : rows) {
        SCOPED_TRACE(row.frames);
        TInterlaceCounts counts;
        EXPECT_EQ(ClassifyWindow(Marks(row.frames), 2, counts), row.position);
        EXPECT_EQ(counts, row.counts);
    }
}

TEST(DecideWalk, ShortLogsHaveNoWindow) {
    for (size_t n = 0; n < 8; ++n) {
        const TInterlaceWalk walk = WalkWindows(Marks(std::string(n, 'C')));
        EXPECT_EQ(walk.Counts, TInterlaceCounts{});
        EXPECT_EQ(CombingRatio(walk.Counts), 0.0);
        EXPECT_EQ(
            DecideSource(walk.Counts, 0.0, true, [](double) { return std::string(); }).SourceType,
            stProgressive);
    }
    // Eight lines: the first window fits exactly.
    EXPECT_EQ(WalkWindows(Marks("ssMMMMMs")).Counts.Progressive, 1);
}

TEST(DecideWalk, ThreeWindowsPerBlockAndTheTrimList) {
    const std::string moving = Block("MMMMM", "MMMMM", "MMMMM");
    const TInterlaceWalk full = WalkWindows(Marks(moving + Block("MMMMM", "CCMMM", "MMMCC")));
    EXPECT_EQ(full.Counts.Progressive, 4);
    EXPECT_EQ(full.Counts.Telecined, 2);
    // Window at line 25 pairs its positions 1 and 2; the one at line 30 its 4 and 5.
    EXPECT_EQ(full.TrimList, "Trim(26,27)+Trim(34,35)+");
    EXPECT_DOUBLE_EQ(CombingRatio(full.Counts), 4.0 / 30);

    // A block cut one line short loses its last window (it needs its context frame).
    EXPECT_EQ(WalkWindows(Marks(moving.substr(0, 17))).Counts.Progressive, 2);
}

std::string Two(double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", v);
    return text;
}

TEST(DecideVerdict, PalAndNtscDifferAtTwoPercent) {
    const TInterlaceCounts none;
    EXPECT_EQ(DecideSource(none, 0.02, false, Two).SourceType, stProgressive);
    EXPECT_EQ(DecideSource(none, 0.0201, false, Two).Message,
              "Source is considered to be interlaced.");
    EXPECT_TRUE(DecideSource(none, 0.5, false, Two).Shares.empty());
    // NTSC at exactly 0.02 goes on to the shares (none here: FILM).
    EXPECT_EQ(DecideSource(none, 0.02, true, Two).SourceType, stFilm);
    EXPECT_EQ(DecideSource(none, 0.0199, true, Two).Message,
              "Source is considered to be progressive.");
}

TEST(DecideVerdict, NtscShares) {
    struct Row {
        TInterlaceCounts counts;
        uint8_t type;
        const char* message;
    };
    const Row rows[] = {
        {{0, 0, 2, 3, 95}, stFilm, "Source is considered to be FILM."},
        {{0, 0, 3, 4, 93}, stHybridFilm, "Source is considered to be hybrid (mostly FILM)."},
        {{0, 0, 30, 30, 40}, stHybridVideo, "Source is considered to be hybrid (mostly NTSC)."},
        {{0, 0, 50, 45, 5}, stInterlaced, "Source is considered to be interlaced."},
        {{0, 0, 0, 3, 47}, stFilm, "Source is considered to be FILM."},  // S = 0.06
        {{0, 0, 0, 25, 25}, stHybridFilm, "Source is considered to be hybrid (mostly FILM)."},
        {{0, 0, 47, 0, 3}, stHybridVideo, "Source is considered to be hybrid (mostly NTSC)."},
    };
    for (const Row& row : rows) {
        const TInterlaceVerdict v = DecideSource(row.counts, 0.3, true, Two);
        EXPECT_EQ(v.SourceType, row.type);
        EXPECT_EQ(v.Message, row.message);
    }
    const TInterlaceVerdict v = DecideSource(rows[0].counts, 0.3, true, Two);
    EXPECT_EQ(v.Shares,
              (std::vector<std::string>{"Source has percentage of telecined patterns: 95.00",
                                        "Source has percentage of progressive patterns: 3.00",
                                        "Source has percentage of interlaced patterns: 2.00"}));
}

}  // namespace
