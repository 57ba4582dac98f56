#include "jobs/globals.h"

#include <gtest/gtest.h>

namespace {

TVobInfo TitleWithTracks(const std::string& language, int audio, int subs) {
    TVobInfo info;
    info.Valid = true;
    info.Video.Standard = "PAL";
    info.Video.FrameRate = 25.0;
    for (int i = 0; i < audio; ++i) info.AddAudio({i, language, "6ch", "AC3", 0});
    for (int i = 0; i < subs; ++i) info.AddSubtitle({i, language + " sub"});
    info.FirstVob = "VTS_01_1.vob";
    return info;
}

}  // namespace

namespace {

TEST(EncSettings, StartsWithNoSubtitleAndTwoCds) {
    TEncRecord r = InitialEncSettings();
    EXPECT_EQ(r.SubTrack, -1);
    EXPECT_EQ(r.TargetSize, 1400);
    EXPECT_EQ(r.AudioTrack, 0);
    EXPECT_EQ(r.SubTrack2, 0);
    EXPECT_FALSE(r.QualityMode);
    EXPECT_EQ(r.Log, nullptr);
    EXPECT_FALSE(r.VobInfo.Valid);
}

TEST(EncSettings, QueuedCopyIsIndependentOfLaterEdits) {
    TEncRecord edit = InitialEncSettings();
    edit.VobInfo = TitleWithTracks("English", 2, 3);
    edit.OutputFile = "/films/one.avi";
    TEncObject first(edit);

    edit.OutputFile = "/films/two.avi";
    edit.VobInfo = TitleWithTracks("Deutsch", 1, 0);
    TEncObject second(edit);

    EXPECT_EQ(first.Settings.OutputFile, "/films/one.avi");
    EXPECT_EQ(first.Settings.VobInfo.AudioCount, 2);
    EXPECT_EQ(first.Settings.VobInfo.Audio[1].Language, "English");
    EXPECT_EQ(first.Settings.VobInfo.SubtitleCount, 3);
    EXPECT_EQ(first.Settings.VobInfo.Subtitles[2].Name, "English sub");
    EXPECT_EQ(second.Settings.OutputFile, "/films/two.avi");
    EXPECT_EQ(second.Settings.VobInfo.SubtitleCount, 0);
    EXPECT_NE(first.Settings, second.Settings);
}
}  // namespace
