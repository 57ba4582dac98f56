#include "app/TrackSelection.h"

#include <gtest/gtest.h>

#include "app/Messages.h"
#include "app/VideoSummary.h"
#include "dvd/SourceFolder.h"
#include "support/FakeInstallation.h"
#include "support/RecordingSink.h"
#include "support/ScriptedDialogs.h"
#include "support/TextTitles.h"

using namespace testing_support;

namespace {

class TrackSelectionTest : public testing::Test {
  protected:
    TrackSelectionTest() {
        program_.ProgramDir = install_.ProgramDir();
        program_.VobSubPath = install_.SystemDir() + "vobsub.dll";
        state_.StateFlags = Idle;
    }
    std::string Title(const TextTitle& title = TwoTrackTitle(), const std::string& name = "dvd") {
        return MakeTextTitle(media_, name, title);
    }
    uint32_t Flags() const { return state_.StateFlags.load(); }
    // A title loaded and an output chosen.
    void Ready(const std::string& output = "/tmp/out/movie.avi") {
        tracks_.InputChosen(Title());
        tracks_.OutputChosen(output);
        ASSERT_TRUE(Flags() & OutputReady);
    }

    FakeInstallation install_;
    TempDir media_;
    ScriptedDialogs dialogs_;
    TAdvancedSettingsValues advanced_;
    TEncRecord settings_ = InitialEncSettings();
    TRunState state_;
    TProgramValues program_;
    int updates_ = 0;
    TTrackSelection tracks_{dialogs_,  advanced_, [this] { ++updates_; },
                            settings_, state_,    program_};
};

TEST_F(TrackSelectionTest, LoadingATitleFillsTheChoosersAndResetsTheTracks) {
    settings_.AudioTrack2 = 1;
    settings_.SubTrack2 = 0;
    state_.PreviewIndexFile.Set("old.d2v");
    tracks_.OutputChosen("/tmp/old.avi");
    tracks_.InputChosen(Title());
    EXPECT_TRUE(dialogs_.Messages.empty());
    EXPECT_EQ(tracks_.InputField(), media_.File("dvd"));
    EXPECT_EQ(settings_.InputDir, media_.File("dvd"));
    EXPECT_EQ(tracks_.SourceInfo(), "Video info:   PAL - 720x576 - 16:9 Anamorphic - 25fps");
    EXPECT_EQ(tracks_.Audio().Items,
              (std::vector<std::string>{"English AC3 6ch", "Deutsch DTS 6ch", kNoAudioTrack}));
    EXPECT_EQ(tracks_.Audio2().Items.back(), kNoSecondAudioTrack);
    EXPECT_EQ(tracks_.Subtitles().Items,
              (std::vector<std::string>{"English", "Deutsch", kNoSubtitles}));
    EXPECT_EQ(tracks_.Audio().Selected, 0);
    EXPECT_EQ(tracks_.Subtitles().Selected, 2);
    EXPECT_EQ(tracks_.Audio2().Selected, 2);
    EXPECT_EQ(settings_.AudioTrack, 0);
    EXPECT_EQ(settings_.AudioTrack2, -1);
    EXPECT_EQ(settings_.SubTrack, -1);
    EXPECT_EQ(settings_.SubTrack2, -1);
    // The output must be chosen again for the new input.
    EXPECT_EQ(Flags(), uint32_t(Idle | InputReady | AudioUsable));
    EXPECT_EQ(tracks_.OutputField(), "");
    EXPECT_EQ(state_.PreviewIndexFile.Get(), "");
    EXPECT_GT(updates_, 0);
}

TEST_F(TrackSelectionTest, RefusedFoldersKeepOrClearWhatTheRulesSay) {
    tracks_.InputChosen(Title());
    const TVobInfo loaded = settings_.VobInfo;

    // Brackets: refused before anything is read; the loaded title stays.
    tracks_.InputChosen(media_.File("dvd [2]"));
    EXPECT_EQ(dialogs_.MessageTexts(), std::vector<std::string>{kInvalidInputPathMessage});
    EXPECT_TRUE(Flags() & InputReady);
    EXPECT_EQ(tracks_.InputField(), media_.File("dvd"));

    // No title in the folder: the empty description is stored, the field emptied.
    dialogs_.Messages.clear();
    tracks_.InputChosen(media_.Path());
    EXPECT_EQ(dialogs_.Messages,
              (std::vector<ShownMessage>{{MessageKind::Warning, kNotDvdMessage}}));
    EXPECT_FALSE(Flags() & InputReady);
    EXPECT_FALSE(settings_.VobInfo.Valid);
    EXPECT_EQ(tracks_.InputField(), "");

    // An unreadable description: the record stays as it was.
    tracks_.InputChosen(Title());
    TextTitle broken;
    broken.Video = "0xE0 - Video";
    const std::string bad = Title(broken, "bad");
    dialogs_.Messages.clear();
    tracks_.InputChosen(bad);
    EXPECT_EQ(dialogs_.MessageTexts(), std::vector<std::string>{kParseErrorMessage});
    EXPECT_FALSE(Flags() & InputReady);
    EXPECT_EQ(settings_.VobInfo, loaded);
    EXPECT_EQ(settings_.InputDir, media_.File("dvd"));
}

TEST_F(TrackSelectionTest, AnUnreadableFolderIsExplainedInTheNotes) {
    testing_support::RecordingSink notes;
    tracks_.SetNotes(&notes);
    TextTitle broken;
    broken.Video = "0xE0 - Video";
    tracks_.InputChosen(Title(broken, "bad"));
    ASSERT_EQ(notes.Lines().size(), 1u);
    EXPECT_NE(notes.Lines()[0].find("Stream Information.txt"), std::string::npos)
        << notes.Lines()[0];
}

TEST_F(TrackSelectionTest, CancelledChoosers) {
    Ready();
    state_.PreviewIndexFile.Set("x.d2v");
    tracks_.InputChosen(std::nullopt);
    EXPECT_EQ(state_.PreviewIndexFile.Get(), "");
    EXPECT_TRUE(Flags() & InputReady);
    tracks_.OutputChosen(std::nullopt);
    EXPECT_FALSE(Flags() & OutputReady);
    EXPECT_EQ(tracks_.OutputField(), "");
    EXPECT_EQ(settings_.OutputFile, "/tmp/out/movie.avi");
}

TEST_F(TrackSelectionTest, OutputAlwaysEndsInAvi) {
    tracks_.InputChosen(Title());
    for (const auto& [typed, stored] : std::vector<std::pair<std::string, std::string>>{
             {"/out/movie", "/out/movie.avi"},
             {"/out/movie.mpg", "/out/movie.avi"},
             {"/out/movie.AVI", "/out/movie.avi"},
             {"/out/my.movie.avi", "/out/my.movie.avi"},
             {"/out.d/movie", "/out.d/movie.avi"}}) {
        tracks_.OutputChosen(typed);
        EXPECT_EQ(settings_.OutputFile, stored);
        EXPECT_EQ(tracks_.OutputField(), stored);
    }
    for (const char* bad : {"/out/[1].avi", "/out]/movie.avi", "/out/\"1\".avi", "/o\"ut/m.avi"}) {
        dialogs_.Messages.clear();
        tracks_.OutputChosen(std::string(bad));
        const bool quote = std::string(bad).find('"') != std::string::npos;
        EXPECT_EQ(
            dialogs_.MessageTexts(),
            std::vector<std::string>{quote ? kOutputPathQuoteMessage : kInvalidOutputPathMessage});
        EXPECT_EQ(settings_.OutputFile, "/out.d/movie.avi");
    }
}

TEST_F(TrackSelectionTest, DtsAudioIsNotUsable) {
    Ready();
    tracks_.AudioChosen(1);
    EXPECT_EQ(settings_.AudioTrack, 1);
    EXPECT_FALSE(Flags() & AudioUsable);
    tracks_.AudioChosen(2);
    EXPECT_EQ(settings_.AudioTrack, -1);
    EXPECT_TRUE(Flags() & AudioUsable);
    // As the second track a DTS item means none.
    tracks_.ToggleSecondChoosers();
    tracks_.Audio2Chosen(1);
    EXPECT_EQ(settings_.AudioTrack2, -1);
    tracks_.Audio2Chosen(0);
    EXPECT_EQ(settings_.AudioTrack2, 0);
}

TEST_F(TrackSelectionTest, TitleWithoutAudio) {
    TextTitle silent;
    tracks_.InputChosen(Title(silent));
    EXPECT_EQ(tracks_.Audio().Items, std::vector<std::string>{kNoAudioTrack});
    EXPECT_EQ(settings_.AudioTrack, -1);
    EXPECT_TRUE(Flags() & AudioUsable);
}

TEST_F(TrackSelectionTest, SubtitleTestsShowEveryFailure) {
    Ready("/tmp/my movie.avi");
    install_.Remove("filters/vsfilter.dll");
    install_.Remove("system/vobsub.dll");
    advanced_.Values.ExternalSubs = true;
    state_.PreviewSubsFile.Set("old.idx");
    tracks_.SubtitleChosen(1);
    EXPECT_EQ(dialogs_.MessageTexts(),
              (std::vector<std::string>{
                  install_.ProgramDir() + "/filters/vsfilter.dll is not found.\\nSubtitles will be "
                                          "disabled.",
                  install_.SystemDir() + "vobsub.dll is not found.\\nSubtitles will be disabled.",
                  kExternalSubsSpaceMessage}));
    for (const ShownMessage& m : dialogs_.Messages) EXPECT_EQ(m.Kind, MessageKind::Error);
    EXPECT_EQ(settings_.SubTrack, -1);
    EXPECT_EQ(tracks_.Subtitles().Selected, tracks_.Subtitles().Last());
    EXPECT_EQ(state_.PreviewSubsFile.Get(), "");

    install_.Add("filters/vsfilter.dll");
    install_.Add("system/vobsub.dll");
    advanced_.Values.ExternalSubs = false;
    dialogs_.Messages.clear();
    tracks_.SubtitleChosen(1);
    EXPECT_TRUE(dialogs_.Messages.empty());
    EXPECT_EQ(settings_.SubTrack, 1);
}

TEST_F(TrackSelectionTest, ExternalSubtitlesAndABlankInTheOutputPath) {
    Ready();
    advanced_.Values.ExternalSubs = true;
    tracks_.ToggleSecondChoosers();
    tracks_.SubtitleChosen(0);
    tracks_.Subtitle2Chosen(1);
    ASSERT_EQ(settings_.SubTrack2, 1);
    tracks_.OutputChosen("/tmp/my movie");
    EXPECT_EQ(dialogs_.Messages,
              (std::vector<ShownMessage>{{MessageKind::Error, kExternalSubsSpaceMessage}}));
    EXPECT_TRUE(Flags() & OutputReady);
    EXPECT_EQ(settings_.SubTrack, -1);
    EXPECT_EQ(settings_.SubTrack2, -1);
    EXPECT_EQ(tracks_.Subtitles().Selected, tracks_.Subtitles().Last());

    // Without a subtitle track a blank is no matter.
    dialogs_.Messages.clear();
    tracks_.OutputChosen("/tmp/another movie");
    EXPECT_TRUE(dialogs_.Messages.empty());
}

TEST_F(TrackSelectionTest, SecondChoosersFollowCtrlF10AndExternalSubtitles) {
    Ready();
    EXPECT_FALSE(tracks_.Audio2().Visible);
    EXPECT_FALSE(tracks_.Subtitles2().Visible);
    tracks_.ToggleSecondChoosers();
    EXPECT_TRUE(tracks_.Audio2().Visible);
    EXPECT_FALSE(tracks_.Subtitles2().Visible);  // only with external subtitles
    tracks_.Audio2Chosen(0);
    tracks_.ToggleSecondChoosers();
    EXPECT_FALSE(tracks_.Audio2().Visible);
    EXPECT_EQ(settings_.AudioTrack2, -1);
    EXPECT_EQ(tracks_.Audio2().Selected, tracks_.Audio2().Last());

    advanced_.Values.ExternalSubs = true;
    tracks_.ToggleSecondChoosers();
    EXPECT_TRUE(tracks_.Subtitles2().Visible);
    tracks_.Subtitle2Chosen(0);
    EXPECT_EQ(settings_.SubTrack2, 0);
    // Unticking external subtitles hides the chooser and drops its track.
    tracks_.ExternalSubsChanged(false);
    EXPECT_FALSE(tracks_.Subtitles2().Visible);
    EXPECT_EQ(settings_.SubTrack2, -1);
    tracks_.ExternalSubsChanged(true);
    EXPECT_TRUE(tracks_.Subtitles2().Visible);
}

TEST(VideoSummary, FrameRateInShortestFormWithTheUsersSeparator) {
    TVobInfo info;
    info.Video = {0, true, "NTSC", 29.997, 720, 480, false, 1.0};
    EXPECT_EQ(VideoSummaryLine(info, ','), "Video info:   NTSC - 720x480 - 4:3 Normal - 29,997fps");
    info.Duration = "1:32:05.120";
    EXPECT_EQ(VideoSummaryLine(info, '.'),
              "Video info:   NTSC - 720x480 - 4:3 Normal - 29.997fps - 1:32:05.120");
    EXPECT_EQ(GeneralNumberText(25.0, ','), "25");
    EXPECT_EQ(GeneralNumberText(23.976, '.'), "23.976");
    EXPECT_EQ(GeneralNumberText(0.1 + 0.2, '.'), "0.3");
}

}  // namespace
