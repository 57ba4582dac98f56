// The advanced options dialog beside the main window, as the program creates them at start.
#include "ui/AdvancedForm.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QRadioButton>
#include <QTest>
#include <filesystem>
#include <memory>

#include "app/Messages.h"
#include "app/Startup.h"
#include "support/FakeInstallation.h"
#include "support/FakeRuns.h"
#include "support/ScriptedDialogs.h"
#include "support/TextTitles.h"
#include "ui/MainForm.h"

using namespace testing_support;

namespace {

class AdvancedFormTest : public testing::Test {
  protected:
    AdvancedFormTest() {
        ResetProgramState();
        Program() = TProgramValues();
        TMachine machine{install_.ProgramDir(), install_.SystemDir(), {true, true, true}};
        EXPECT_EQ(RunStartup(dialogs_, machine), TStartupResult::Ready);
    }
    ~AdvancedFormTest() override {
        form_.reset();
        advanced_.reset();
        ResetProgramState();
    }
    std::string Ini() const { return install_.ConfigDir() + "/movrex.ini"; }
    // Program start: the main window, then the dialog's restoring.
    void Start() {
        advanced_ = std::make_unique<TformAdvanced>(dialogs_);
        form_ = std::make_unique<TformMain>(dialogs_, *advanced_);
        advanced_->AttachMainWindow(*form_);
        advanced_->Restore();
        form_->show();
    }
    // Program end.
    void Stop() {
        form_.reset();
        advanced_.reset();
    }
    template <class T>
    T* Find(const char* name) {
        T* widget = advanced_->findChild<T*>(name);
        if (!widget) widget = form_->findChild<T*>(name);
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    bool Checked(const char* name) { return Find<QAbstractButton>(name)->isChecked(); }
    void Click(const char* name) { Find<QAbstractButton>(name)->click(); }
    QSpinBox* Spin(const char* name) { return Find<QSpinBox>(name); }
    // A title with a second audio chooser shown, ready for a second subtitle track.
    void TitleWithSecondChoosers() {
        dialogs_.Folders.push_back(MakeTextTitle(media_, "dvd", TwoTrackTitle()));
        Click("sbInputDir");
        QTest::keyClick(form_.get(), Qt::Key_F10, Qt::ControlModifier);
        ASSERT_TRUE(Find<QComboBox>("cbAudio2")->isVisible());
        ASSERT_TRUE(Find<QComboBox>("cbSubtitle2")->isHidden());
    }

    FakeInstallation install_;
    TempDir media_;
    ScriptedDialogs dialogs_;
    std::unique_ptr<TformAdvanced> advanced_;
    std::unique_ptr<TformMain> form_;
};

TEST_F(AdvancedFormTest, AFirstStartChoosesXviDAndClosingWritesTheEightKeys) {
    Start();
    EXPECT_TRUE(Checked("rgCodec0"));
    EXPECT_TRUE(Checked("rgResolution0"));
    EXPECT_TRUE(Checked("rgAudio0"));
    EXPECT_FALSE(Spin("edWidth")->isEnabled());
    EXPECT_FALSE(Spin("spinBitrate")->isEnabled());
    EXPECT_EQ(Spin("edWidth")->value(), 640);
    EXPECT_EQ(Spin("spinBitrate")->value(), 128);
    EXPECT_FALSE(std::filesystem::exists(Ini()));

    advanced_->show();
    Click("btOK");
    EXPECT_FALSE(advanced_->isVisible());
    const std::string written = ReadAll(Ini());
    for (const char* key :
         {"cbForcedSubs_Checked=False", "cbExternalSubs_Checked=False", "edWidth_Text=640",
          "rgAudio_ItemIndex=0", "rgCodec_ItemIndex=0", "rgResolution_ItemIndex=0",
          "spinBitrate_Value=128", "udWidth_Position=640"})
        EXPECT_NE(written.find(key), std::string::npos) << key;
    EXPECT_TRUE(dialogs_.Messages.empty());
}

TEST_F(AdvancedFormTest, ProgramEndWritesTheOptionsWhenTheDialogWasNeverClosed) {
    Start();
    Stop();
    EXPECT_NE(ReadAll(Ini()).find("[TformAdvanced]"), std::string::npos);
}

TEST_F(AdvancedFormTest, TheOptionsSurviveARestart) {
    Start();
    advanced_->show();
    Click("rgResolution2");
    Spin("edWidth")->stepBy(3);
    Click("rgAudio3");
    Spin("spinBitrate")->stepBy(-4);
    Click("rgCodec1");
    Click("cbForcedSubs");
    advanced_->close();
    Stop();

    Start();
    EXPECT_TRUE(Checked("rgResolution2"));
    EXPECT_EQ(Spin("edWidth")->value(), 688);
    EXPECT_TRUE(Spin("edWidth")->isEnabled());
    EXPECT_TRUE(Checked("rgAudio3"));
    EXPECT_EQ(Spin("spinBitrate")->value(), 64);
    EXPECT_TRUE(Checked("rgCodec1"));
    EXPECT_TRUE(Checked("cbForcedSubs"));
    TEncRecord settings;
    advanced_->StoreAdvancedSettings(settings);
    EXPECT_EQ(settings.ResizeMode, kResizeFixed);
    EXPECT_EQ(settings.TargetWidth, 688);
    EXPECT_EQ(settings.AudioMode, kAudioCbrMp3);
    EXPECT_EQ(settings.AudioBitrate, 64);
    EXPECT_EQ(settings.Codec, kCodecDivX);
    EXPECT_TRUE(settings.ForcedSubsOnly);
}

TEST_F(AdvancedFormTest, TheLimitsFollowTheWidthAndAudioModes) {
    Start();
    advanced_->show();
    Click("rgResolution2");
    Spin("edWidth")->stepBy(10);
    Click("rgResolution1");
    EXPECT_EQ(Spin("edWidth")->value(), 640);
    Spin("edWidth")->stepBy(1);
    EXPECT_EQ(Spin("edWidth")->value(), 640);
    Click("rgResolution2");
    EXPECT_EQ(Spin("edWidth")->maximum(), 1024);

    Click("rgAudio3");
    Spin("spinBitrate")->stepBy(-10);
    ASSERT_EQ(Spin("spinBitrate")->value(), 64);
    Click("rgAudio2");
    EXPECT_EQ(Spin("spinBitrate")->value(), 80);
    EXPECT_EQ(Spin("spinBitrate")->minimum(), 80);
    Click("rgAudio3");
    EXPECT_EQ(Spin("spinBitrate")->value(), 80);
    EXPECT_EQ(Spin("spinBitrate")->minimum(), 64);
}

TEST_F(AdvancedFormTest, AStoredDivXChoiceWithoutDivXFallsBackToXviD) {
    Program().DivXInstalled = false;
    platform::IniFile ini(Ini());
    ASSERT_TRUE(ini.WriteInteger("TformAdvanced", "rgCodec_ItemIndex", 1));
    Start();
    EXPECT_TRUE(Checked("rgCodec0"));
    EXPECT_EQ(dialogs_.MessageTexts(), std::vector<std::string>{kDivXMissingMessage});
}

TEST_F(AdvancedFormTest, WithoutTheArchiverTheBoxCannotBeTicked) {
    install_.Remove("WinRAR/rar.exe");
    Start();
    advanced_->show();
    Click("cbExternalSubs");
    EXPECT_FALSE(Checked("cbExternalSubs"));
    EXPECT_EQ(dialogs_.MessageTexts(), std::vector<std::string>{kRarMissingMessage});
    EXPECT_TRUE(dialogs_.Questions.empty());
}

TEST_F(AdvancedFormTest, AnsweringNoLeavesTheSecondSubtitleChooserHidden) {
    Start();
    TitleWithSecondChoosers();
    advanced_->show();
    dialogs_.Answers = {false};
    Click("cbExternalSubs");
    EXPECT_EQ(dialogs_.Questions, std::vector<std::string>{kExternalSubsQuestion});
    EXPECT_FALSE(Checked("cbExternalSubs"));
    EXPECT_TRUE(Find<QComboBox>("cbSubtitle2")->isHidden());
}

TEST_F(AdvancedFormTest, UntickingResetsTheSecondSubtitleTrack) {
    Start();
    TitleWithSecondChoosers();
    advanced_->show();
    dialogs_.Answers = {true};
    Click("cbExternalSubs");
    auto* subs2 = Find<QComboBox>("cbSubtitle2");
    ASSERT_FALSE(subs2->isHidden());
    subs2->setCurrentIndex(0);
    emit subs2->activated(0);
    ASSERT_EQ(EncSettings().SubTrack2, 0);

    Click("cbExternalSubs");
    EXPECT_TRUE(subs2->isHidden());
    EXPECT_EQ(subs2->currentText(), "No Subtitles");
    EXPECT_EQ(EncSettings().SubTrack2, -1);
}

TEST_F(AdvancedFormTest, AStoredTickIsRestoredWithoutAQuestion) {
    platform::IniFile ini(Ini());
    ASSERT_TRUE(ini.WriteString("TformAdvanced", "cbExternalSubs_Checked", "True"));
    Start();
    EXPECT_TRUE(Checked("cbExternalSubs"));
    EXPECT_TRUE(dialogs_.Questions.empty());
    EXPECT_TRUE(advanced_->ExternalSubsTicked());
}

}  // namespace
