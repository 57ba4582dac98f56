#include "dvd/VobInfo.h"

#include <gtest/gtest.h>

namespace {

TEST(VobInfo, FreshDescriptionHasEmptyEntries) {
    TVobInfo info;
    EXPECT_FALSE(info.Valid);
    EXPECT_EQ(info.AudioCount, 0);
    for (const auto& a : info.Audio) EXPECT_EQ(a, TAudioinfo{});
    for (const auto& s : info.Subtitles) EXPECT_EQ(s, TSubtitleInfo{});
    EXPECT_TRUE(info.FirstVob.empty());
}

TEST(VobInfo, AddStopsAtTheArraySize) {
    TVobInfo info;
    for (int i = 0; i < kMaxAudioTracks; ++i) EXPECT_TRUE(info.AddAudio({i, "", "2ch", "AC3", 0}));
    EXPECT_FALSE(info.AddAudio({99, "", "2ch", "AC3", 0}));
    EXPECT_EQ(info.AudioCount, kMaxAudioTracks);
    for (int i = 0; i < kMaxSubtitleTracks; ++i) EXPECT_TRUE(info.AddSubtitle({i, "x"}));
    EXPECT_FALSE(info.AddSubtitle({32, "y"}));
    EXPECT_EQ(info.SubtitleCount, kMaxSubtitleTracks);
    EXPECT_EQ(info.Subtitles[31].StreamId, 31);
}

TEST(VobInfo, CopyKeepsItsStringsWhenTheOriginalIsReplaced) {
    TVobInfo original;
    original.AddAudio({0, "English", "6ch", "AC3", 448});
    original.Duration = "1:32:10.480";
    TVobInfo copy = original;
    original = TVobInfo{};
    original.AddAudio({0, "Francais", "2ch", "MPEG1", 0});
    EXPECT_EQ(copy.Audio[0].Language, "English");
    EXPECT_EQ(copy.Audio[0].TailValue, 448);
    EXPECT_EQ(copy.Duration, "1:32:10.480");
}

}  // namespace
