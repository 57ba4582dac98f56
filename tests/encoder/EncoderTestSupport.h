#pragma once
// Shared by the run's tests: a line sink that keeps what it gets, stand-in stages that record
// their calls, and a fixture that points the program-wide values at a temporary folder.
#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <vector>

#include "encoder/encoder.h"
#include "jobs/ProgramValues.h"
#include "support/RecordingSink.h"
#include "support/TestEnv.h"

// Every stage records its name in `calls` and logs "stage <name>"; the test changes single
// entries to make a stage fail or leave results.
inline TEncoderStages RecordingStages(std::vector<std::string>& calls) {
    auto stage = [&calls](const char* name) {
        return [&calls, name](TMXEncoder& e) {
            calls.push_back(name);
            e.LogLine(std::string("stage ") + name);
        };
    };
    TEncoderStages s;
    s.IndexForEncoding = stage("IndexForEncoding");
    s.IndexForPreview = stage("IndexForPreview");
    s.DetectFieldOrder = stage("DetectFieldOrder");
    s.EncodeAudio = stage("EncodeAudio");
    s.ExtractSubtitles = stage("ExtractSubtitles");
    s.ChooseInitialSettings = stage("ChooseInitialSettings");
    s.ComputeBudget = stage("ComputeBudget");
    s.RunSinglePass = stage("RunSinglePass");
    s.RunCompTest = stage("RunCompTest");
    s.MeasureCompTest = stage("MeasureCompTest");
    s.AdjustAfterCompTest = stage("AdjustAfterCompTest");
    s.HeightForWidth = [&calls](TMXEncoder&, int32_t) {
        calls.push_back("HeightForWidth");
        return 272;
    };
    s.PreviewScript = [&calls](TMXEncoder&) {
        calls.push_back("PreviewScript");
        return std::vector<std::string>{"MPEG2Source(\"x.d2v\")", "LanczosResize(640,272)"};
    };
    s.RunFirstPass = stage("RunFirstPass");
    s.RunSecondPass = stage("RunSecondPass");
    s.SplitOutput = stage("SplitOutput");
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
