#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QRadioButton>
#include <QSpinBox>
#include <QTextEdit>

#include "app/Messages.h"
#include "dvd/SourceFolder.h"
#include "ui/WindowFixture.h"

using testing_support::ShownMessage;

namespace {

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

TEST_F(WindowTest, StartsWithEveryActionButtonOff) {
    EXPECT_EQ(form_->windowTitle().toStdString(),
              std::string("Movrex for Linux presents: ") + kProgramBanner);
    EXPECT_EQ(form_->size(), QSize(696, 436));
    for (const char* name : {"btAddJob", "btStart", "btAbort", "btPreview"})
        EXPECT_FALSE(Enabled(name)) << name;
    for (const char* name : {"btAdvanced", "btInfo", "sbInputDir", "sbOutputFile", "cbShutdown",
                             "sbJobUp", "sbJobDelete", "sbJobDown", "rgSize"})
        EXPECT_TRUE(Enabled(name)) << name;
    EXPECT_FALSE(Find<QComboBox>("cbAudio2")->isVisible());
    EXPECT_FALSE(Find<QComboBox>("cbSubtitle2")->isVisible());
    EXPECT_EQ(Find<QComboBox>("cbSize")->currentText(), "2 CDs (1400 Mb)");
    EXPECT_EQ(Find<QSpinBox>("spinSize")->value(), 1400);
    EXPECT_EQ(Find<QSpinBox>("spinQuality")->value(), 75);
    EXPECT_FALSE(Enabled("spinSize"));
    EXPECT_FALSE(Enabled("spinQuality"));
    EXPECT_EQ(Find<QWidget>("sbJobDelete")->toolTip(), "Delete job");
    // The queue buttons do nothing on an empty queue.
    for (const char* name : {"sbJobUp", "sbJobDelete", "sbJobDown"}) Click(name);
    EXPECT_EQ(Find<QListWidget>("ckJobs")->count(), 0);
}

TEST_F(WindowTest, EnablingFollowsEachStepAndDtsBlocksAddJobOnly) {
    ChooseInput(Title());
    EXPECT_EQ(Find<QLineEdit>("edInputDir")->text(), Text(media_.File("dvd")));
    EXPECT_EQ(Find<QLineEdit>("edSourceInfo")->text(),
              "Video info:   PAL - 720x576 - 16:9 Anamorphic - 25fps");
    EXPECT_FALSE(Enabled("btAddJob"));
    EXPECT_FALSE(Enabled("btPreview"));
    ChooseOutput("/tmp/out/movie.mpg");
    EXPECT_EQ(Find<QLineEdit>("edOutputFile")->text(), "/tmp/out/movie.avi");
    EXPECT_TRUE(Enabled("btAddJob"));
    EXPECT_TRUE(Enabled("btPreview"));
    EXPECT_FALSE(Enabled("btStart"));

    Pick("cbAudio", 1);  // Deutsch DTS 6ch
    EXPECT_FALSE(Enabled("btAddJob"));
    EXPECT_TRUE(Enabled("btPreview"));
    Pick("cbAudio", 2);  // No Audio Track
    EXPECT_TRUE(Enabled("btAddJob"));

    Click("btAddJob");
    EXPECT_TRUE(Enabled("btStart"));
    auto* jobs = Find<QListWidget>("ckJobs");
    ASSERT_EQ(jobs->count(), 1);
    jobs->item(0)->setCheckState(Qt::Unchecked);
    EXPECT_FALSE(Enabled("btStart"));
    jobs->item(0)->setCheckState(Qt::Checked);
    EXPECT_TRUE(Enabled("btStart"));
    EXPECT_TRUE(dialogs_.Messages.empty());
}

TEST_F(WindowTest, ANewFolderResetsTracksAndOutput) {
    advanced_.Values.ExternalSubs = true;
    ChooseInput(Title());
    ChooseOutput("/tmp/out/movie.avi");
    QTest::keyClick(form_.get(), Qt::Key_F10, Qt::ControlModifier);
    ASSERT_TRUE(Find<QComboBox>("cbAudio2")->isVisible());
    ASSERT_TRUE(Find<QComboBox>("cbSubtitle2")->isVisible());
    Pick("cbAudio", 2);
    Pick("cbAudio2", 0);
    Pick("cbSubtitle", 1);
    Pick("cbSubtitle2", 0);
    ASSERT_EQ(EncSettings().SubTrack, 1);

    ChooseInput(Title("other"));
    EXPECT_EQ(Find<QComboBox>("cbAudio")->currentIndex(), 0);
    EXPECT_EQ(Find<QComboBox>("cbAudio2")->currentText(), "No Second Audio Track");
    EXPECT_EQ(Find<QComboBox>("cbSubtitle")->currentText(), "No Subtitles");
    EXPECT_EQ(Find<QComboBox>("cbSubtitle2")->currentText(), "No Subtitles");
    const TEncRecord& s = EncSettings();
    EXPECT_EQ(s.AudioTrack, 0);
    EXPECT_EQ(s.AudioTrack2, -1);
    EXPECT_EQ(s.SubTrack, -1);
    EXPECT_EQ(s.SubTrack2, -1);
    EXPECT_EQ(Find<QLineEdit>("edOutputFile")->text(), "");
    EXPECT_FALSE(Enabled("btAddJob"));
}

TEST_F(WindowTest, BracketsAndQuotesAreRefused) {
    ChooseInput(Title());
    ChooseOutput("/tmp/out/movie.avi");
    ChooseInput(Title("dvd [2]"));
    ChooseOutput("/tmp/out/movie]1[.avi");
    ChooseOutput("/tmp/out/\"movie\".avi");
    EXPECT_EQ(dialogs_.Messages,
              (std::vector<ShownMessage>{{MessageKind::Warning, kInvalidInputPathMessage},
                                         {MessageKind::Warning, kInvalidOutputPathMessage},
                                         {MessageKind::Warning, kOutputPathQuoteMessage}}));
    EXPECT_EQ(Find<QLineEdit>("edInputDir")->text(), Text(media_.File("dvd")));
    EXPECT_EQ(Find<QLineEdit>("edOutputFile")->text(), "/tmp/out/movie.avi");
    EXPECT_TRUE(Enabled("btAddJob"));
}

TEST_F(WindowTest, ExternalSubtitlesRefuseABlankInTheOutputPath) {
    advanced_.Values.ExternalSubs = true;
    ChooseInput(Title());
    ChooseOutput("/tmp/my movie.avi");
    Pick("cbSubtitle", 0);
    EXPECT_EQ(dialogs_.Messages,
              (std::vector<ShownMessage>{{MessageKind::Error, kExternalSubsSpaceMessage}}));
    EXPECT_EQ(Find<QComboBox>("cbSubtitle")->currentText(), "No Subtitles");
    EXPECT_EQ(EncSettings().SubTrack, -1);
}

TEST_F(WindowTest, SizeOptionsAndTheStoredValues) {
    ChooseInput(Title());
    ChooseOutput("/tmp/out/a.avi");
    auto* size = Find<QComboBox>("cbSize");
    size->setCurrentIndex(size->count() - 1);  // "Maximum Quality (unlimited size)"
    Click("btAddJob");

    Find<QRadioButton>("rbQuality")->click();
    EXPECT_FALSE(Enabled("cbSize"));
    EXPECT_FALSE(Enabled("spinSize"));
    EXPECT_TRUE(Enabled("spinQuality"));
    Find<QSpinBox>("spinQuality")->setValue(80);
    Click("btAddJob");

    Find<QRadioButton>("rbCustom")->click();
    EXPECT_TRUE(Enabled("spinSize"));
    EXPECT_FALSE(Enabled("spinQuality"));
    auto* custom = Find<QSpinBox>("spinSize");
    custom->setFocus();
    custom->selectAll();
    QTest::keyClicks(custom, "20000");
    Find<QWidget>("cbShutdown")->setFocus();  // the field is left
    EXPECT_EQ(custom->value(), 10000);
    Click("btAddJob");

    const TJobQueue& queue = form_->Model().Queue();
    ASSERT_EQ(queue.Count(), 3);
    EXPECT_EQ(queue.SettingsAt(0)->TargetSize, 0);
    EXPECT_FALSE(queue.SettingsAt(0)->QualityMode);
    EXPECT_EQ(queue.SettingsAt(1)->TargetSize, 1);
    EXPECT_TRUE(queue.SettingsAt(1)->QualityMode);
    EXPECT_EQ(queue.SettingsAt(1)->Quality, 80);
    EXPECT_EQ(queue.SettingsAt(2)->TargetSize, 10000);
    EXPECT_FALSE(queue.SettingsAt(2)->QualityMode);
}

TEST_F(WindowTest, QualityFieldClampsToItsRange) {
    Find<QRadioButton>("rbQuality")->click();
    auto* quality = Find<QSpinBox>("spinQuality");
    quality->setFocus();
    quality->selectAll();
    QTest::keyClicks(quality, "5");
    Find<QWidget>("cbShutdown")->setFocus();
    EXPECT_EQ(quality->value(), 10);
}

TEST_F(WindowTest, QueueButtonsReorderAndDelete) {
    ChooseInput(Title());
    for (const char* name : {"/tmp/a.avi", "/tmp/b.avi", "/tmp/c.avi"}) {
        ChooseOutput(std::string(name));
        Click("btAddJob");
    }
    auto* jobs = Find<QListWidget>("ckJobs");
    const auto captions = [jobs] {
        QStringList list;
        for (int i = 0; i < jobs->count(); ++i) list << jobs->item(i)->text();
        return list.join(",");
    };
    ASSERT_EQ(captions(), "/tmp/a.avi,/tmp/b.avi,/tmp/c.avi");
    jobs->setCurrentRow(0);
    Click("sbJobDown");
    EXPECT_EQ(captions(), "/tmp/b.avi,/tmp/a.avi,/tmp/c.avi");
    EXPECT_EQ(jobs->currentRow(), 1);
    Click("sbJobUp");
    Click("sbJobUp");  // already first
    EXPECT_EQ(captions(), "/tmp/a.avi,/tmp/b.avi,/tmp/c.avi");
    jobs->setCurrentRow(1);
    Click("sbJobDelete");
    EXPECT_EQ(captions(), "/tmp/a.avi,/tmp/c.avi");
    EXPECT_EQ(jobs->currentRow(), 0);
}

TEST_F(WindowTest, ClosingIsRefusedWhileBusyAndAllowedRightAfterAbort) {
    ChooseInput(Title());
    ChooseOutput("/tmp/out/a.avi");
    Click("btAddJob");
    ChooseOutput("/tmp/out/b.avi");
    Click("btAddJob");
    Click("btStart");
    ASSERT_TRUE(gate_.WaitForStarts(1));
    EXPECT_TRUE(Enabled("btAbort"));
    EXPECT_FALSE(Enabled("btStart"));
    EXPECT_FALSE(Enabled("btPreview"));
    EXPECT_TRUE(Enabled("btAddJob"));  // jobs can be added while the queue runs
    ASSERT_TRUE(ProcessUntil(
        [&] { return !(Find<QListWidget>("ckJobs")->item(0)->flags() & Qt::ItemIsEnabled); }));

    EXPECT_FALSE(form_->close());
    EXPECT_EQ(dialogs_.Messages,
              (std::vector<ShownMessage>{{MessageKind::Warning, kAbortBeforeQuitMessage}}));
    dialogs_.Answers = {true};
    Click("btAbort");
    EXPECT_EQ(dialogs_.Questions, std::vector<std::string>{kAbortQuestion});
    EXPECT_FALSE(Enabled("btAbort"));
    EXPECT_TRUE(form_->close());

    // The aborted job goes, the other stays ticked.
    ASSERT_TRUE(ProcessUntil([&] { return !form_->Model().Busy(); }));
    ASSERT_TRUE(ProcessUntil([&] { return Find<QListWidget>("ckJobs")->count() == 1; }));
    EXPECT_EQ(Find<QListWidget>("ckJobs")->item(0)->text(), "/tmp/out/b.avi");
    EXPECT_EQ(gate_.Started().size(), 1u);
}

TEST_F(WindowTest, LogLinesFromTheRunsArriveInOrder) {
    ChooseInput(Title());
    ChooseOutput("/tmp/out/a.avi");
    Click("btAddJob");
    ChooseOutput("/tmp/out/b.avi");
    Click("btAddJob");
    gate_.Open();
    Click("btStart");
    auto* log = Find<QTextEdit>("meLog");
    ASSERT_TRUE(ProcessUntil([&] { return Enabled("btAddJob") && !form_->Model().Busy(); }));
    ASSERT_TRUE(ProcessUntil([&] { return log->document()->blockCount() == 6; }));
    EXPECT_EQ(log->toPlainText().toStdString(),
              "/tmp/out/a.avi line 0\n/tmp/out/a.avi line 1\n/tmp/out/a.avi line 2\n"
              "/tmp/out/b.avi line 0\n/tmp/out/b.avi line 1\n/tmp/out/b.avi line 2");
    EXPECT_TRUE(ProcessUntil([&] { return Find<QListWidget>("ckJobs")->count() == 0; }));
    EXPECT_FALSE(Enabled("btStart"));
}

TEST_F(WindowTest, TheRunningJobsProgressShowsOnTheBar) {
    ChooseInput(Title());
    ChooseOutput("/tmp/out/a.avi");
    Click("btAddJob");
    Click("btStart");
    ASSERT_TRUE(gate_.WaitForStarts(1));
    auto* bar = Find<QProgressBar>("pbProgress");
    EXPECT_TRUE(ProcessUntil([&] { return bar->value() == 25; }));
    EXPECT_EQ(bar->text(), "First pass: 25%, frame 50 of 200, 25.0 fps, 0:06 left");
    gate_.Open();
}

TEST_F(WindowTest, PreviewTurnsTheQueueButtonsOffUntilItEnds) {
    ChooseInput(Title());
    ChooseOutput("/tmp/out/a.avi");
    Click("btPreview");
    ASSERT_TRUE(gate_.WaitForStarts(1));
    EXPECT_TRUE(Enabled("btAbort"));
    EXPECT_FALSE(Enabled("btPreview"));
    EXPECT_TRUE(Enabled("btAddJob"));
    gate_.Open();
    ASSERT_TRUE(ProcessUntil([&] { return Enabled("btPreview"); }));
    EXPECT_FALSE(Enabled("btAbort"));
}

TEST_F(WindowTest, HiddenShortcuts) {
    ChooseInput(Title());
    // Ctrl+F9 without the program does nothing.
    QTest::keyClick(Find<QWidget>("cbAudio"), Qt::Key_F9, Qt::ControlModifier);
    EXPECT_TRUE(dialogs_.Messages.empty());

    const std::string record = media_.File("hidden.txt");
    install_.AddProgram("Hidden Options.exe", "#!/bin/sh\necho \"$@\" > '" + record + "'\n");
    QTest::keyClick(Find<QWidget>("cbAudio"), Qt::Key_F9, Qt::ControlModifier);
    EXPECT_TRUE(ProcessUntil([&] { return !testing_support::ReadAll(record).empty(); }));
    EXPECT_EQ(testing_support::ReadAll(record), media_.File("dvd") + "\n");

    // Ctrl+F10 from any control toggles the second audio chooser.
    QTest::keyClick(Find<QWidget>("cbSize"), Qt::Key_F10, Qt::ControlModifier);
    EXPECT_TRUE(Find<QComboBox>("cbAudio2")->isVisible());
    EXPECT_FALSE(Find<QComboBox>("cbSubtitle2")->isVisible());
    QTest::keyClick(Find<QWidget>("edSourceInfo"), Qt::Key_F10, Qt::ControlModifier);
    EXPECT_FALSE(Find<QComboBox>("cbAudio2")->isVisible());
}

}  // namespace
