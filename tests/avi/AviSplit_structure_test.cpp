// Reading the RIFF structure and both index forms from files whose layout the test knows exactly.
#include <gtest/gtest.h>

#include "avi/AviFormat.h"
#include "avi/AviSplit.h"
#include "avi/AviTestFile.h"
#include "support/TestEnv.h"

namespace {

using avitest::AviPlan;
using avitest::BuiltAvi;
using avitest::Frames;
using avitest::MakeAvi;
using avitest::TestChunk;

std::string Save(const testing_support::TempDir& dir, const BuiltAvi& avi,
                 const std::string& name = "movie.avi") {
    const std::string path = dir.File(name);
    avi.bytes.WriteTo(path);
    return path;
}

// Video and audio chunks interleaved: frame sizes 1000 + n, audio 300.
std::vector<TestChunk> Interleaved(const std::string& keys) {
    std::vector<TestChunk> out;
    for (size_t n = 0; n < keys.size(); ++n) {
        out.push_back({0, uint32_t(1000 + n), keys[n] == 'K'});
        if (n % 2 == 0) out.push_back({1, 300, false});
    }
    return out;
}

TEST(AviSplitIdx1, FlagsDecideKeyFramesAndOnlyVideoIsCounted) {
    testing_support::TempDir dir;
    AviPlan plan;
    plan.chunks = {{0, 100, true},       {1, 50, false},        {0, 101, false},
                   {0, 102, true, 0x11}, {0, 103, false, 0x10}, {0, 104, true, 0x12},
                   {1, 51, false, 0x10}};
    const BuiltAvi avi = MakeAvi(plan);
    TAVISplitSearch search;
    ASSERT_TRUE(search.Open(Save(dir, avi))) << search.LastError();
    const TMyIndex expected = {{kChunkKeyFrame, 100, 0}, {kChunkOther, 50, 0},
                               {kChunkDelta, 101, 0},    {kChunkDelta, 102, 0},
                               {kChunkKeyFrame, 103, 0}, {kChunkDelta, 104, 0},
                               {kChunkOther, 51, 0}};
    EXPECT_EQ(search.Index(), expected);
    EXPECT_EQ(search.MoviStart(), avi.moviStart);
    EXPECT_EQ(search.Idx1Start(), avi.at.at("idx1") + 8);
    EXPECT_EQ(search.Idx1Count(), 7u);
    EXPECT_FALSE(search.IsOpenDml());
    EXPECT_FALSE(search.UsedOpenDmlIndex());
    EXPECT_EQ(search.FileSize(), avi.Size());
}

TEST(AviSplitIdx1, MainHeaderOfAnyLengthIsReadSafely) {
    testing_support::TempDir dir;
    for (uint32_t length : {56u, 57u, 64u, 4000u, 20u, 12u}) {
        AviPlan plan;
        plan.chunks = Frames("K..K", 10);
        plan.avihSize = length;
        plan.avihFrames = 1234;
        TAVISplitSearch search;
        ASSERT_TRUE(search.Open(Save(dir, MakeAvi(plan)))) << length << search.LastError();
        EXPECT_EQ(search.Index().size(), 4u) << length;
        const uint32_t frames = length >= 20 ? 1234u : 0u;
        EXPECT_EQ(avi::LoadU32(search.MainHeader().data() + 16), frames) << length;
    }
}

TEST(AviSplitIdx1, JunkAtTopLevelAndInsideIsSkipped) {
    testing_support::TempDir dir;
    AviPlan plan;
    plan.chunks = Frames("K.K", 10);
    BuiltAvi avi = MakeAvi(plan);
    // Leading "JUNK" of odd size (with its pad byte) and two empty ones before the RIFF.
    const std::string lead =
        avitest::Chunk("JUNK", "abc") + avitest::Head("JUNK", 0) + avitest::Head("JUNK", 0);
    const std::string path = dir.Write("lead.avi", lead + avi.bytes.Flatten());
    TAVISplitSearch search;
    ASSERT_TRUE(search.Open(path)) << search.LastError();
    EXPECT_EQ(search.MoviStart(), avi.moviStart + int64_t(lead.size()));
    EXPECT_EQ(search.Index().size(), 3u);
}

TEST(AviSplitOpenDml, StandardIndexesOfAllRiffsAreMergedIntoFileOrder) {
    testing_support::TempDir dir;
    AviPlan plan;
    plan.chunks = Interleaved("K..K.K...K..");
    plan.riffBreaks = {5, 11};  // three RIFFs: "AVI ", "AVIX", "AVIX"
    plan.superIndex = true;
    const BuiltAvi avi = MakeAvi(plan);
    TAVISplitSearch search;
    ASSERT_TRUE(search.Open(Save(dir, avi))) << search.LastError();
    EXPECT_TRUE(search.IsOpenDml());
    EXPECT_TRUE(search.UsedOpenDmlIndex());
    ASSERT_EQ(search.SuperIndex().size(), 6u);  // three per stream, video first
    EXPECT_EQ(search.SuperIndex()[0].IndexOffset, uint64_t(avi.at.at("ix0.0")));
    EXPECT_EQ(search.SuperIndex()[3].IndexOffset, uint64_t(avi.at.at("ix1.0")));
    ASSERT_EQ(search.Index().size(), plan.chunks.size());
    for (size_t i = 0; i < plan.chunks.size(); ++i) {
        const TestChunk& c = plan.chunks[i];
        const uint32_t kind = c.stream ? kChunkOther : c.key ? kChunkKeyFrame : kChunkDelta;
        EXPECT_EQ(search.Index()[i], (TMyIndexEntry{kind, c.size, avi.dataPos[i]})) << i;
    }
}

TEST(AviSplitOpenDml, DmlhFrameCountAloneMakesTheFileOpenDml) {
    testing_support::TempDir dir;
    AviPlan plan;
    plan.chunks = Frames("K.K.", 10);
    plan.superIndex = true;
    plan.odmlFrames = 5;  // more than the main header's 4
    TAVISplitSearch search;
    ASSERT_TRUE(search.Open(Save(dir, MakeAvi(plan)))) << search.LastError();
    EXPECT_EQ(search.OdmlTotalFrames(), 5u);
    EXPECT_TRUE(search.IsOpenDml());
    EXPECT_TRUE(search.UsedOpenDmlIndex());
    EXPECT_NE(search.Index()[0].Offset, 0);

    plan.odmlFrames = 4;  // not more: the plain index is read
    ASSERT_TRUE(search.Open(Save(dir, MakeAvi(plan), "b.avi"))) << search.LastError();
    EXPECT_FALSE(search.IsOpenDml());
    EXPECT_FALSE(search.UsedOpenDmlIndex());
    EXPECT_EQ(search.Index()[0].Offset, 0);
}

TEST(AviSplitOpenDml, AvixWithoutSuperIndexFallsBackToIdx1) {
    testing_support::TempDir dir;
    AviPlan plan;
    plan.chunks = Frames("K..K..K.", 10);
    plan.riffBreaks = {5};
    TAVISplitSearch search;
    ASSERT_TRUE(search.Open(Save(dir, MakeAvi(plan)))) << search.LastError();
    EXPECT_TRUE(search.IsOpenDml());
    EXPECT_FALSE(search.UsedOpenDmlIndex());
    EXPECT_EQ(search.Index().size(), 5u);  // "idx1" covers the first RIFF only
}

TEST(AviSplitOpenDml, StandardIndexesAloneAreEnoughWithoutIdx1) {
    testing_support::TempDir dir;
    AviPlan plan;
    plan.chunks = Frames("K..K", 10);
    plan.superIndex = true;
    plan.idx1 = false;
    TAVISplitSearch search;
    ASSERT_TRUE(search.Open(Save(dir, MakeAvi(plan)))) << search.LastError();
    EXPECT_FALSE(search.IsOpenDml());
    EXPECT_TRUE(search.UsedOpenDmlIndex());
    EXPECT_EQ(search.Index().size(), 4u);
}

TEST(AviSplitOpen, FilesThatAreNoIndexedAviGiveFalseWithTheFileNamed) {
    testing_support::TempDir dir;
    struct Case {
        std::string name, bytes, problem;
    };
    AviPlan noIndex;
    noIndex.chunks = Frames("K.", 10);
    noIndex.idx1 = false;
    const std::vector<Case> cases = {
        {"empty.avi", "", "no RIFF"},
        {"text.avi", "This is not a video file at all.", "no RIFF"},
        {"wave.avi", avitest::List("RIFF", "WAVE", avitest::Chunk("fmt ", "1234")), "no RIFF"},
        {"noindex.avi", MakeAvi(noIndex).bytes.Flatten(), "no index"},
        {"three.avi", "RIF", "no RIFF"},
    };
    for (const auto& c : cases) {
        TAVISplitSearch search;
        const std::string path = dir.Write(c.name, c.bytes);
        EXPECT_FALSE(search.Open(path)) << c.name;
        EXPECT_NE(search.LastError().find(path), std::string::npos) << search.LastError();
        EXPECT_NE(search.LastError().find(c.problem), std::string::npos) << search.LastError();
        EXPECT_TRUE(search.Index().empty());
        EXPECT_EQ(search.FindSplitFrame(0, 700), 0);
    }
    TAVISplitSearch search;
    EXPECT_FALSE(search.Open(dir.File("missing.avi")));
    EXPECT_NE(search.LastError().find("missing.avi"), std::string::npos);
    EXPECT_FALSE(search.Open(dir.Path()));
    EXPECT_NE(search.LastError().find("not a regular file"), std::string::npos);
}

TEST(AviSplitOpen, OddCharactersInThePathAreFine) {
    testing_support::TempDir dir;
    AviPlan plan;
    plan.chunks = Frames("K.", 10);
    TAVISplitSearch search;
    EXPECT_TRUE(search.Open(Save(dir, MakeAvi(plan), "Film é \"1\" $HOME *?.avi")))
        << search.LastError();
}

TEST(AviSplitOpen, ASecondOpenForgetsTheFirstFile) {
    testing_support::TempDir dir;
    AviPlan big;
    big.chunks = Frames("K..K..", 10);
    big.superIndex = true;
    big.riffBreaks = {3};
    TAVISplitSearch search;
    ASSERT_TRUE(search.Open(Save(dir, MakeAvi(big))));
    AviPlan small;
    small.chunks = Frames("K.", 10);
    ASSERT_TRUE(search.Open(Save(dir, MakeAvi(small), "small.avi")));
    EXPECT_EQ(search.Index().size(), 2u);
    EXPECT_TRUE(search.SuperIndex().empty());
    EXPECT_FALSE(search.IsOpenDml());
}

}  // namespace
