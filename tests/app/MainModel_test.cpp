#include "app/MainModel.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/Messages.h"
#include "support/FakeInstallation.h"
#include "support/FakeRuns.h"
#include "support/RecordingSink.h"
#include "support/ScriptedDialogs.h"
#include "support/TextTitles.h"

using namespace testing_support;

namespace {

struct CountingBridge : IUiBridge {
    void UpdateButtons() override { ++updates; }
    void QueueChanged() override { ++changes; }
    bool ShutdownWhenDone() const override { return false; }
    void ShowProgress(const TJobProgress&) override {}
    std::atomic<int> updates{0};
    std::atomic<int> changes{0};
};

class MainModelTest : public testing::Test {
  protected:
    MainModelTest() {
        ResetProgramState();
        Program() = TProgramValues();
        Program().ProgramDir = install_.ProgramDir();
        Program().VobSubPath = install_.SystemDir() + "vobsub.dll";
        UseGatedRuns(model_, gate_);
    }
    ~MainModelTest() override {
        gate_.Open();
        model_.WaitForAll();
        ResetProgramState();
    }
    void Ready(const std::string& output = "/tmp/out/movie") {
        model_.Tracks().InputChosen(MakeTextTitle(media_, "dvd", TwoTrackTitle()));
        model_.Tracks().OutputChosen(output);
    }

    FakeInstallation install_;
    TempDir media_;
    ScriptedDialogs dialogs_;
    TAdvancedSettingsValues advanced_;
    CountingBridge bridge_;
    RecordingSink log_;
    int updates_ = 0;
    RunGate gate_;
    TMainModel model_{{dialogs_, advanced_, bridge_, log_, [this] { ++updates_; }}};
};

TEST_F(MainModelTest, AddJobTakesASnapshotOfTheCompletedSettings) {
    EXPECT_FALSE(model_.AddJob());
    Ready();
    model_.Size.Option = TSizeOption::Quality;
    model_.Size.Quality = 80;
    advanced_.Values.ResolutionIndex = kResizeFixed;
    advanced_.Values.Width = 512;
    advanced_.Values.CodecIndex = 1;
    ASSERT_TRUE(model_.AddJob());
    model_.Tracks().OutputChosen("/tmp/out/second");
    model_.Size.Option = TSizeOption::Predefined;
    model_.Size.Predefined = 11;  // "Maximum Quality (unlimited size)"
    ASSERT_TRUE(model_.AddJob());

    const auto first = model_.Queue().SettingsAt(0);
    const auto second = model_.Queue().SettingsAt(1);
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->OutputFile, "/tmp/out/movie.avi");
    EXPECT_TRUE(first->QualityMode);
    EXPECT_EQ(first->Quality, 80);
    EXPECT_EQ(first->TargetSize, 1);
    EXPECT_EQ(first->ResizeMode, kResizeFixed);
    EXPECT_EQ(first->TargetWidth, 512);
    EXPECT_EQ(first->Codec, kCodecDivX);
    EXPECT_EQ(first->Log, &log_);
    EXPECT_EQ(second->OutputFile, "/tmp/out/second.avi");
    EXPECT_FALSE(second->QualityMode);
    EXPECT_EQ(second->TargetSize, 0);
    EXPECT_EQ(model_.Queue().Rows(), (std::vector<TQueueRow>{{"/tmp/out/movie.avi", true, true},
                                                             {"/tmp/out/second.avi", true, true}}));
    EXPECT_TRUE(model_.Buttons().Start);
}

TEST_F(MainModelTest, StoreSizeSettingsForEachOption) {
    TEncRecord r = InitialEncSettings();
    StoreSizeSettings({TSizeOption::Predefined, 3, 1400, 75}, r);
    EXPECT_EQ(r.TargetSize, 700);
    EXPECT_FALSE(r.QualityMode);
    StoreSizeSettings({TSizeOption::Custom, 3, 4321, 75}, r);
    EXPECT_EQ(r.TargetSize, 4321);
    r.Quality = 33;
    StoreSizeSettings({TSizeOption::Quality, 3, 4321, 80}, r);
    EXPECT_EQ(r.TargetSize, 1);
    EXPECT_TRUE(r.QualityMode);
    EXPECT_EQ(r.Quality, 80);
    // Out-of-range values never reach a job.
    StoreSizeSettings({TSizeOption::Custom, 3, 20000, 75}, r);
    EXPECT_EQ(r.TargetSize, kCustomSizeMax);
    EXPECT_EQ(FindPredefinedSize("3 CDs (2100 Mb)"), 5);
    EXPECT_EQ(FindPredefinedSize("3 CDs"), -1);
}

TEST_F(MainModelTest, PreviewRunsOnTheSettingsUnderEdit) {
    Ready();
    model_.Size.Option = TSizeOption::Custom;  // not stored by a preview
    advanced_.Values.AudioIndex = kAudioCbrMp3;
    advanced_.Values.Bitrate = 192;
    ASSERT_TRUE(model_.Preview());
    EXPECT_FALSE(RunState().StateFlags.load() & Idle);
    EXPECT_EQ(model_.Buttons(), (TButtonStates{true, false, true, false}));
    ASSERT_TRUE(gate_.WaitForStarts(1));
    const TEncRecord seen = gate_.Started()[0];
    EXPECT_EQ(seen.AudioMode, kAudioCbrMp3);
    EXPECT_EQ(seen.AudioBitrate, 192);
    EXPECT_EQ(seen.TargetSize, 1400);
    EXPECT_EQ(seen.Log, &log_);
    EXPECT_FALSE(model_.CanClose());
    EXPECT_EQ(dialogs_.MessageTexts(), std::vector<std::string>{kAbortBeforeQuitMessage});
    gate_.Open();
    model_.WaitForAll();
    EXPECT_TRUE(RunState().StateFlags.load() & Idle);
    EXPECT_GE(bridge_.updates.load(), 1);
    EXPECT_TRUE(model_.CanClose());
}

TEST_F(MainModelTest, AbortAsksFirst) {
    Ready();
    ASSERT_TRUE(model_.AddJob());
    ASSERT_TRUE(model_.AddJob());
    ASSERT_TRUE(model_.Start());
    ASSERT_TRUE(gate_.WaitForStarts(1));
    dialogs_.Answers = {false, true};
    model_.Abort();
    EXPECT_FALSE(RunState().AbortRequested.load());
    EXPECT_FALSE(model_.CanClose());
    model_.Abort();
    EXPECT_EQ(dialogs_.Questions, (std::vector<std::string>{kAbortQuestion, kAbortQuestion}));
    // Idle at once, so the window may close while the run winds down.
    EXPECT_TRUE(RunState().StateFlags.load() & Idle);
    dialogs_.Messages.clear();
    EXPECT_TRUE(model_.CanClose());
    model_.WaitForAll();
    EXPECT_EQ(gate_.Started().size(), 1u);
    EXPECT_EQ(model_.Queue().Count(), 1);  // the second job stays queued
    EXPECT_FALSE(model_.Busy());
}

TEST(HiddenOptions, CommandLineOnlyWhenTheProgramIsThere) {
    TempDir dir;
    EXPECT_EQ(HiddenOptionsCommandLine(dir.Path(), "/dvd"), std::nullopt);
    dir.Write("Hidden Options.exe", "");
    ScopedEnv runtime("XDG_RUNTIME_DIR", dir.Path());
    const std::string program = HiddenOptionsCommandLine(dir.Path(), "").value_or("");
    EXPECT_EQ(HiddenOptionsCommandLine(dir.Path(), "/dvd/my title"), program + " /dvd/my title");
    // The short form of the name, quoted: one argument without a blank, naming the program.
    const std::string name = platform::SplitCommandLine(program + " /dvd").front();
    EXPECT_EQ(program, "\"" + name + "\"");
    EXPECT_EQ(name.find(' '), std::string::npos);
    EXPECT_TRUE(std::filesystem::equivalent(name, dir.File("Hidden Options.exe")));
}

}  // namespace
