#include "app/AdvancedOptions.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/ScriptedDialogs.h"
#include "support/TestEnv.h"

using namespace testing_support;

namespace {

class AdvancedOptionsTest : public testing::Test {
  protected:
    AdvancedOptionsTest() {
        program_.XviDInstalled = true;
        program_.DivXInstalled = true;
        program_.RarPath = dir_.Write("WinRAR/rar.exe", "");
        options_.SetExternalSubsListener([this](bool ticked) { told_.push_back(ticked); });
    }
    std::string Ini() const { return dir_.File("config/movrex.ini"); }
    TStoredAdvanced Stored(const std::string& lines) {
        dir_.Write("config/movrex.ini", "[TformAdvanced]\n" + lines);
        return ReadStoredAdvanced(platform::IniFile(Ini()));
    }

    TempDir dir_;
    TProgramValues program_;
    TRunState state_;
    ScriptedDialogs dialogs_;
    TAdvancedOptions options_{dialogs_, program_, state_};
    std::vector<bool> told_;
};

TEST_F(AdvancedOptionsTest, AFirstStartChoosesTheInstalledCodecSilently) {
    options_.Restore(ReadStoredAdvanced(platform::IniFile(Ini())));
    EXPECT_EQ(options_.Values().CodecIndex, 0);
    EXPECT_FALSE(std::filesystem::exists(Ini()));

    program_.XviDInstalled = false;
    TAdvancedOptions divxOnly(dialogs_, program_, state_);
    divxOnly.Restore({});
    EXPECT_EQ(divxOnly.Values().CodecIndex, 1);
    EXPECT_TRUE(dialogs_.Messages.empty());

    TAdvancedValues defaults;
    defaults.CodecIndex = 0;
    EXPECT_EQ(options_.Values(), defaults);
    EXPECT_FALSE(options_.WidthEnabled());
    EXPECT_FALSE(options_.BitrateEnabled());
}

TEST_F(AdvancedOptionsTest, AStoredCodecThatHasGoneIsCorrectedWithItsMessage) {
    program_.DivXInstalled = false;
    options_.Restore(Stored("rgCodec_ItemIndex=1\n"));
    EXPECT_EQ(options_.Values().CodecIndex, 0);
    EXPECT_EQ(dialogs_.Messages,
              (std::vector<ShownMessage>{{MessageKind::Error, kDivXMissingMessage}}));

    program_.DivXInstalled = true;
    program_.XviDInstalled = false;
    dialogs_.Messages.clear();
    options_.CodecChosen(0);
    EXPECT_EQ(options_.Values().CodecIndex, 1);
    EXPECT_EQ(dialogs_.MessageTexts(), std::vector<std::string>{kXviDMissingMessage});
}

TEST_F(AdvancedOptionsTest, MinimumWidthCapsTheWidthAndFixedWidthLiftsTheLimit) {
    options_.ResolutionChosen(kResizeFixed);
    EXPECT_TRUE(options_.WidthEnabled());
    options_.WidthStepped(10);  // 640 + 160
    EXPECT_EQ(options_.Values().Width, 800);
    options_.WidthStepped(100);
    EXPECT_EQ(options_.Values().Width, kWidthMax);
    options_.WidthStepped(-14);
    EXPECT_EQ(options_.Values().Width, 800);

    options_.ResolutionChosen(kResizeMinimum);
    EXPECT_EQ(options_.Values().Width, 640);
    EXPECT_EQ(options_.WidthMax(), 640);
    options_.WidthStepped(1);
    EXPECT_EQ(options_.Values().Width, 640);

    options_.ResolutionChosen(kResizeFixed);
    EXPECT_EQ(options_.Values().Width, 640);
    EXPECT_EQ(options_.WidthMax(), kWidthMax);
    options_.WidthStepped(1);
    EXPECT_EQ(options_.Values().Width, 656);

    options_.ResolutionChosen(kResizeAuto);
    options_.WidthStepped(1);  // the arrows are disabled
    EXPECT_EQ(options_.Values().Width, 656);
    options_.WidthStepped(-1000);
    EXPECT_EQ(options_.Values().Width, 656);
}

TEST_F(AdvancedOptionsTest, VbrRaisesTheBitrateTo80AndCbrAllows64Again) {
    options_.AudioChosen(kAudioCbrMp3);
    options_.BitrateChanged(64);
    ASSERT_EQ(options_.Values().Bitrate, 64);
    options_.AudioChosen(kAudioVbrMp3);
    EXPECT_EQ(options_.Values().Bitrate, 80);
    options_.BitrateChanged(64);
    EXPECT_EQ(options_.Values().Bitrate, 80);
    options_.AudioChosen(kAudioCbrMp3);
    EXPECT_EQ(options_.Values().Bitrate, 80);
    EXPECT_EQ(options_.BitrateMin(), 64);
    options_.BitrateChanged(64);
    EXPECT_EQ(options_.Values().Bitrate, 64);
    options_.BitrateChanged(400);
    EXPECT_EQ(options_.Values().Bitrate, kBitrateMax);
    options_.AudioChosen(kAudioAC3);
    EXPECT_FALSE(options_.BitrateEnabled());
}

TEST_F(AdvancedOptionsTest, ExternalSubtitlesNeedTheArchiverAndAUsersConfirmation) {
    // Restored at start: no question.
    options_.ExternalSubsChanged(true);
    EXPECT_TRUE(options_.ExternalSubsTicked());
    EXPECT_TRUE(dialogs_.Questions.empty());

    options_.SetOnScreen(true);
    dialogs_.Answers = {false, true};
    options_.ExternalSubsChanged(true);
    EXPECT_FALSE(options_.ExternalSubsTicked());
    options_.ExternalSubsChanged(true);
    EXPECT_TRUE(options_.ExternalSubsTicked());
    EXPECT_EQ(dialogs_.Questions,
              (std::vector<std::string>{kExternalSubsQuestion, kExternalSubsQuestion}));

    std::filesystem::remove(program_.RarPath);
    options_.ExternalSubsChanged(true);
    EXPECT_FALSE(options_.ExternalSubsTicked());
    EXPECT_EQ(dialogs_.MessageTexts(), std::vector<std::string>{kRarMissingMessage});
    EXPECT_EQ(dialogs_.Questions.size(), 2u);
    EXPECT_EQ(told_, (std::vector<bool>{true, false, true, false}));
}

TEST_F(AdvancedOptionsTest, ForcedSubtitlesForgetThePreviewSubtitles) {
    state_.PreviewSubsFile.Set("/tmp/out/mx_tmp/movie.idx");
    options_.ForcedSubsChanged(true);
    EXPECT_EQ(state_.PreviewSubsFile.Get(), "");
    TEncRecord settings;
    options_.StoreAdvancedSettings(settings);
    EXPECT_TRUE(settings.ForcedSubsOnly);
}

TEST_F(AdvancedOptionsTest, TheEightKeysAreWrittenInOrderAndSurviveARestart) {
    options_.Restore({});
    options_.ResolutionChosen(kResizeFixed);
    options_.WidthStepped(2);
    options_.AudioChosen(kAudioVbrMp3);
    options_.BitrateChanged(192);
    options_.CodecChosen(1);
    options_.ForcedSubsChanged(true);
    options_.ExternalSubsChanged(true);
    platform::IniFile ini(Ini());
    ASSERT_TRUE(WriteStoredAdvanced(ini, options_.Values()));
    EXPECT_EQ(ReadAll(Ini()),
              "[TformAdvanced]\ncbForcedSubs_Checked=True\ncbExternalSubs_Checked=True\n"
              "edWidth_Text=672\nrgAudio_ItemIndex=2\nrgCodec_ItemIndex=1\n"
              "rgResolution_ItemIndex=2\nspinBitrate_Value=192\nudWidth_Position=672\n");

    TAdvancedOptions restarted(dialogs_, program_, state_);
    restarted.Restore(ReadStoredAdvanced(ini));
    EXPECT_EQ(restarted.Values(), options_.Values());
    EXPECT_EQ(restarted.BitrateMin(), kVbrBitrateMin);
    EXPECT_TRUE(dialogs_.Messages.empty());
}

TEST_F(AdvancedOptionsTest, RestoringRunsEachRuleAsAUsersChangeWould) {
    std::filesystem::remove(program_.RarPath);
    options_.Restore(
        Stored("cbExternalSubs_Checked=True\nedWidth_Text=800\nrgAudio_ItemIndex=2\n"
               "rgResolution_ItemIndex=1\nspinBitrate_Value=64\n"
               "udWidth_Position=800\n"));
    EXPECT_EQ(options_.Values().Width, 640);
    EXPECT_EQ(options_.Values().Bitrate, 80);
    EXPECT_FALSE(options_.ExternalSubsTicked());
    EXPECT_EQ(dialogs_.MessageTexts(), std::vector<std::string>{kRarMissingMessage});
}

TEST_F(AdvancedOptionsTest, MalformedValuesLeaveTheirControlsAtTheDefaults) {
    const TStoredAdvanced stored = Stored(
        "cbForcedSubs_Checked=maybe\ncbExternalSubs_Checked=\nedWidth_Text=650\n"
        "rgAudio_ItemIndex=7\nrgCodec_ItemIndex=x\nrgResolution_ItemIndex=-1\n"
        "spinBitrate_Value=nan\nudWidth_Position=99999999999\n");
    EXPECT_FALSE(stored.ForcedSubs || stored.ExternalSubs || stored.WidthText ||
                 stored.AudioIndex || stored.CodecIndex || stored.ResolutionIndex ||
                 stored.Bitrate || stored.WidthPosition);
    EXPECT_EQ(Stored("spinBitrate_Value=128.0\n").Bitrate, 128);
    EXPECT_EQ(Stored("cbForcedSubs_Checked=true\n").ForcedSubs, true);
    EXPECT_EQ(Stored("rgCodec_ItemIndex=-1\n").CodecIndex, -1);
}

TEST_F(AdvancedOptionsTest, WritingKeepsTheRestOfTheFile) {
    dir_.Write("config/movrex.ini",
               "; kept\n[Other]\nKey=1\n[TformAdvanced]\nrgCodec_ItemIndex=garbage\nExtra=2\n");
    platform::IniFile ini(Ini());
    ASSERT_TRUE(WriteStoredAdvanced(ini, TAdvancedValues()));
    const std::string text = ReadAll(Ini());
    EXPECT_NE(text.find("; kept\n[Other]\nKey=1\n"), std::string::npos);
    EXPECT_NE(text.find("Extra=2"), std::string::npos);
    EXPECT_EQ(ini.ReadString(kAdvancedSection, "rgCodec_ItemIndex", ""), "-1");
}

TEST_F(AdvancedOptionsTest, AnUnreadableFileGivesTheDefaultsAndIsNotReplaced) {
    std::filesystem::create_directories(Ini());  // a folder where the file should be
    platform::IniFile ini(Ini());
    options_.Restore(ReadStoredAdvanced(ini));
    EXPECT_EQ(options_.Values().CodecIndex, 0);
    EXPECT_FALSE(WriteStoredAdvanced(ini, options_.Values()));
    EXPECT_TRUE(std::filesystem::is_directory(Ini()));
    EXPECT_TRUE(dialogs_.Messages.empty());
}

}  // namespace
