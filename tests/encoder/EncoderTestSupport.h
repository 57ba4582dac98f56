#pragma once
// Shared by the run's tests: a line sink that keeps what it gets, stand-in stages that record
// their calls, and a fixture that points the program-wide values at a temporary folder.
#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <vector>

#include "encoder/encoder.h"
#include "encoder/stages/Stages.h"
#include "jobs/ProgramValues.h"
#include "support/RecordingSink.h"
#include "support/TestEnv.h"

// Every stage records its name in `calls` and logs "stage <name>"; the test replaces single
// stages to make one fail or leave results. The output height is 272, the preview script two
// lines.
inline TStageTable RecordingStages(std::vector<std::string>& calls) {
    TStageTable s;
    for (const TStage* stage :
         {&kIndexForEncoding, &kIndexForPreview, &kDetectFieldOrder, &kEncodeAudio,
          &kExtractSubtitles, &kChooseInitialSettings, &kComputeBudget, &kRunSinglePass,
          &kRunCompTest, &kMeasureCompTest, &kAdjustAfterCompTest, &kRunFirstPass, &kRunSecondPass,
          &kSplitOutput}) {
        s.Replace(*stage, [&calls, name = stage->Name](TRun& e) {
            calls.push_back(name);
            e.LogLine(std::string("stage ") + name);
        });
    }
    s.Replace(kHeightForWidth, [&calls](TRun& e) {
        calls.push_back("HeightForWidth");
        e.Plan.OutHeight = 272;
    });
    s.Replace(kPreviewScript, [&calls](TRun& e) {
        calls.push_back("PreviewScript");
        e.PreviewScript = {"MPEG2Source(\"x.d2v\")", "LanczosResize(640,272)"};
    });
    return s;
}

// The title of the tests: two audio tracks, two subtitle tracks.
inline TEncRecord TestJob(const std::string& output) {
    TEncRecord r = InitialEncSettings();
    r.InputDir = "/dvd/FILM";
    r.OutputFile = output;
    r.VobInfo.Valid = true;
    r.VobInfo.AddAudio({0, "English", "6ch", "AC3", 0});
    r.VobInfo.AddAudio({2, "Deutsch", "2ch", "AC3", 0});
    r.VobInfo.AddSubtitle({0, "English"});
    r.VobInfo.AddSubtitle({1, "Deutsch"});
    r.AudioTrack = 0;
    r.AudioTrack2 = -1;
    r.SubTrack = -1;
    r.SubTrack2 = -1;
    r.TargetSize = 700;
    return r;
}

class EncoderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        savedProgram_ = Program();
        Program().ProgramDir = dir.Path();
        TRunState& s = RunState();
        s.AbortRequested = false;
        s.ProcessHandle = 0;
        s.CurrentJob = -1;
        s.StateFlags = Idle;
        s.PreviewIndexFile.Set("");
        s.PreviewSubsFile.Set("");
    }
    void TearDown() override {
        Program() = savedProgram_;
        RunState().PreviewIndexFile.Set("");
        RunState().PreviewSubsFile.Set("");
    }
    std::string Output() const { return dir.File("out/film.avi"); }
    static std::string Helper(const std::string& name) {
        return std::string(MOVREX_TEST_HELPER_DIR) + "/" + name;
    }

    testing_support::TempDir dir;
    testing_support::RecordingSink window;
    std::vector<std::string> calls;

  private:
    TProgramValues savedProgram_;
};
