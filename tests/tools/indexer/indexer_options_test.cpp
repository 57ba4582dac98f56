// The indexer's command line and its small rules.
#include <gtest/gtest.h>

#include "Options.h"
#include "VideoTiming.h"

namespace {

using indexer::ParseOptions;

TEST(IndexerOptions, BracketedPathsKeepTheirBlanksAndQuotedArgumentsAreUnquoted) {
    std::vector<std::string> warnings;
    const auto o = ParseOptions(
        "/opt/DVD2AVI/DVD2AVIdg.exe -AIF=[/my  dvd/VTS_01_1.VOB] -IA=2 -FO=0 -YR=1 -TN=2 -OM=3 "
        "-DRC=0 -DSD=0 -DSA=0 -OF=[/o/mx_tmp/a [film]] -Exit",
        warnings);
    EXPECT_EQ(o.firstVob, "/my  dvd/VTS_01_1.VOB");
    EXPECT_EQ(o.outputBase, "/o/mx_tmp/a [film]");
    EXPECT_EQ(o.Value("TN"), 2);
    EXPECT_EQ(o.Value("OM"), 3);
    EXPECT_TRUE(o.exitWhenDone);
    EXPECT_EQ(o.Recorded(), "-IA=2 -FO=0 -YR=1 -TN=2 -OM=3 -DRC=0 -DSD=0 -DSA=0");
    EXPECT_TRUE(warnings.empty());

    // Started from a shell, the arguments come back quoted; unknown ones are only warned about.
    const auto q =
        ParseOptions("DVD2AVIdg.exe \"-AIF=[/a b/VTS_01_1.VOB]\" -of=[x] -Q=1 stray", warnings);
    EXPECT_EQ(q.firstVob, "/a b/VTS_01_1.VOB");
    EXPECT_EQ(q.outputBase, "x");
    EXPECT_EQ(q.Value("IA"), 3);  // the table's default
    EXPECT_EQ(warnings.size(), 2u);
}

TEST(IndexerOptions, MissingPathsAndValuesOutOfTheTableAreRefused) {
    std::vector<std::string> w;
    for (const char* line : {"x -OF=[o]", "x -AIF=[v]", "x -AIF=[v] -OF=[o] -TN=9",
                             "x -AIF=[v] -OF=[o] -FO=-1", "x -AIF=[v] -OF=[o] -OM=1x"})
        EXPECT_THROW(ParseOptions(line, w), indexer::UsageError) << line;
}

TEST(IndexerTiming, DelayRoundsToTheMillisecondAcrossTheClocksWrap) {
    EXPECT_EQ(indexer::DelayMilliseconds(90000, 100800), -120);
    EXPECT_EQ(indexer::DelayMilliseconds(45, 0), 0);   // half a millisecond: to even
    EXPECT_EQ(indexer::DelayMilliseconds(135, 0), 2);  // one and a half: to even
    EXPECT_EQ(indexer::DelayMilliseconds(900, (int64_t{1} << 33) - 900), 20);
}

}  // namespace
