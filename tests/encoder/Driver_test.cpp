#include <gtest/gtest.h>

#include <regex>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "encoder/EncoderTestSupport.h"
#include "encoder/Runner.h"
#include "jobs/Abort.h"
#include "platform/files.h"

namespace {

using Strings = std::vector<std::string>;

std::string Unstamped(const std::string& line) {
    static const std::regex stamped(R"(\[\S+ \S+\] (.*))");
    std::smatch m;
    return std::regex_match(line, m, stamped) ? m[1].str() : line;
}

Strings Unstamped(const Strings& lines) {
    Strings out;
    for (const std::string& line : lines) out.push_back(Unstamped(line));
    return out;
}

Strings FileLines(const std::string& path) {
    std::istringstream in(testing_support::ReadAll(path));
    Strings lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

Strings Tail(const Strings& lines, size_t n) {
    return lines.size() < n ? lines : Strings(lines.end() - n, lines.end());
}

class Driver : public EncoderTest {
  protected:
    // Runs the job on the run's own thread and returns the job log file's lines, unstamped.
    Strings Run(TEncRecord job, bool preview = false) {
        job.Log = &window;
        TMXEncoder run(job, preview, &ui);
        run.SetStages(stages);
        run.Start();
        run.WaitFor();
        EXPECT_TRUE(run.Finished());
        return Unstamped(FileLines(run.JobLogFile()));
    }
    struct Ui : IUiBridge {
        void UpdateButtons() override { ++updates; }
        void QueueChanged() override {}
        bool ShutdownWhenDone() const override { return false; }
        void ShowProgress(const TJobProgress&) override {}
        std::atomic<int> updates{0};
    } ui;
    TStageTable stages = RecordingStages(calls);
};

TEST_F(Driver, AQualityModeRunCallsItsStagesInOrderBetweenBannerAndEnd) {
    TEncRecord job = TestJob(Output());
    job.TargetSize = 0;
    job.SubTrack = 1;
    const Strings log = Run(job);
    EXPECT_EQ(calls,
              (Strings{"IndexForEncoding", "DetectFieldOrder", "EncodeAudio", "ExtractSubtitles",
                       "ChooseInitialSettings", "ComputeBudget", "RunSinglePass", "SplitOutput"}));
    ASSERT_GE(log.size(), 5u);
    EXPECT_EQ(log[0], "Movrex 1.25");
    EXPECT_EQ(log[1].rfind("OS: ", 0), 0u);
    EXPECT_EQ(log[2], "Job started.");
    EXPECT_EQ(log.back(), "Job finished.");
    EXPECT_EQ(Tail(log, 13),
              (Strings{"Started encoding.", "Demuxing and indexing.", "stage IndexForEncoding",
                       "stage DetectFieldOrder", "stage EncodeAudio", "Indexing subtitles.",
                       "stage ExtractSubtitles", "stage ChooseInitialSettings",
                       "stage ComputeBudget", "Running single pass encoding.",
                       "stage RunSinglePass", "stage SplitOutput", "Job finished."}));
    EXPECT_EQ(Unstamped(window.Lines()), log);
}

TEST_F(Driver, ASizeModeRunTestsCompressibilityThenRunsBothPasses) {
    stages.Replace(kMeasureCompTest, [this](TRun& e) {
        calls.push_back("MeasureCompTest");
        e.CompTest.CompRatio = 0.61;
    });
    stages.Replace(kAdjustAfterCompTest, [this](TRun& e) {
        calls.push_back("AdjustAfterCompTest");
        e.Plan.OutWidth = 640;
    });
    TRun* seen = nullptr;
    stages.Replace(kRunFirstPass, [&](TRun& e) {
        calls.push_back("RunFirstPass");
        seen = &e;
        EXPECT_EQ(e.Plan.XviDParams.MaxIQuant, 4);  // ceil(2 / 0.6)
        EXPECT_EQ(e.Plan.XviDParams.MaxPQuant, 4);
    });
    const Strings log = Run(TestJob(Output()));
    ASSERT_NE(seen, nullptr);
    EXPECT_EQ(calls, (Strings{"IndexForEncoding", "DetectFieldOrder", "EncodeAudio",
                              "ChooseInitialSettings", "ComputeBudget", "RunCompTest",
                              "MeasureCompTest", "AdjustAfterCompTest", "HeightForWidth",
                              "RunFirstPass", "RunSecondPass", "SplitOutput"}));
    EXPECT_EQ(Tail(log, 10), (Strings{"Running compressibility test.", "stage RunCompTest",
                                      "Compressibility percentage is: 61.00",
                                      "Chosen resolution is: 640x272 ( AR: 2.35 )",
                                      "Predicted comptest value is: 61.00", "Running first pass.",
                                      "Running second pass.", "stage RunSecondPass",
                                      "stage SplitOutput", "Job finished."}));
}

TEST_F(Driver, QuantizerLimitsFollowThePredictedCompressibility) {
    const struct {
        double ratio;
        int32_t limit;
    } cases[] = {{0.61, 4}, {1.0, 3}, {0.5, 5}, {2.51, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ratio);
        int32_t limit = 0;
        stages.Replace(kAdjustAfterCompTest, [&](TRun& e) { e.CompTest.CompRatio = c.ratio; });
        stages.Replace(kRunFirstPass, [&](TRun& e) { limit = e.Plan.XviDParams.MaxPQuant; });
        Run(TestJob(Output()));
        EXPECT_EQ(limit, c.limit);
    }
}

TEST_F(Driver, AnUnusablePredictionEndsTheJobInsteadOfSettingNonsenseLimits) {
    stages.Replace(kAdjustAfterCompTest, [](TRun& e) { e.CompTest.CompRatio = 0.01; });
    const Strings log = Run(TestJob(Output()));
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "RunFirstPass"), 0);
    EXPECT_EQ(Tail(log, 3)[0],
              "EXCEPTION: The predicted comptest value 1.00 is too small to set the quantizer "
              "limits.");
}

TEST_F(Driver, TheNoEncodeMarkerSkipsBothPassesButNotTheSplit) {
    dir.Write("no.encode", "");
    stages.Replace(kMeasureCompTest, [](TRun& e) { e.CompTest.CompRatio = 0.8; });
    const Strings log = Run(TestJob(Output()));
    EXPECT_EQ(Tail(calls, 3), (Strings{"AdjustAfterCompTest", "HeightForWidth", "SplitOutput"}));
    EXPECT_EQ(Tail(log, 3), (Strings{"Predicted comptest value is: 80.00", "stage SplitOutput",
                                     "Job finished."}));
}

Strings SettingsLines(const Strings& log) {
    auto from = std::find(log.begin(), log.end(), "Job started.");
    auto to = std::find(log.begin(), log.end(), "Started encoding.");
    return from < to ? Strings(from + 1, to) : Strings{};
}

TEST_F(Driver, TheSettingsLinesDescribeEveryChoice) {
    TEncRecord plain = TestJob(Output());
    EXPECT_EQ(SettingsLines(Run(plain)),
              (Strings{"Input dir: /dvd/FILM", "Output file: " + Output(), "Audio: English",
                       "Subtitles: none", "Codec: XviD", "Target size: 700Mb"}));

    TEncRecord full = plain;
    full.AudioTrack2 = 1;
    full.SubTrack = 0;
    full.ForcedSubsOnly = true;
    full.SubTrack2 = 1;
    full.Codec = kCodecDivX;
    full.QualityMode = true;
    full.Quality = 85;
    full.ResizeMode = kResizeMinimum;
    full.TargetWidth = 512;
    full.AudioMode = kAudioVbrMp3;
    full.AudioBitrate = 128;
    EXPECT_EQ(SettingsLines(Run(full)),
              (Strings{"Input dir: /dvd/FILM", "Output file: " + Output(), "Audio: English",
                       "Audio2: Deutsch", "Subtitles: English", "Display only forced subtitles.",
                       "Subtitles 2: Deutsch", "Codec: DivX", "Target quality: 85%",
                       "Custom resolution settings: minimum width of 512 pixels",
                       "Custom audio settings: VBR MP3 with average bitrate: 128Kbps"}));

    const struct {
        uint8_t resize, audio;
        int32_t track;
        Strings last;
    } cases[] = {
        {kResizeFixed,
         kAudioCbrMp3,
         0,
         {"Custom resolution settings: fixed width of 512 pixels",
          "Custom audio settings: CBR MP3 with bitrate: 128Kbps"}},
        {kResizeAuto, kAudioAC3, 0, {"Target size: 700Mb", "Custom audio settings: AC3"}},
        {kResizeAuto, kAudioAC3, -1, {"Codec: XviD", "Target size: 700Mb"}},  // no audio
    };
    for (const auto& c : cases) {
        TEncRecord job = plain;
        job.ResizeMode = c.resize;
        job.TargetWidth = 512;
        job.AudioMode = c.audio;
        job.AudioBitrate = 128;
        job.AudioTrack = c.track;
        const Strings lines = SettingsLines(Run(job));
        ASSERT_GE(lines.size(), 2u);
        EXPECT_EQ(Tail(lines, 2), c.last);
    }
}

TEST_F(Driver, AFailingStageEndsTheJobWithTheExceptionBlockAndTheLogIsStillWritten) {
    stages.Replace(kEncodeAudio, [](TRun&) {
        throw std::runtime_error("Audio is not found. Encoding aborted.");
    });
    const Strings log = Run(TestJob(Output()));
    EXPECT_EQ(calls, (Strings{"IndexForEncoding", "DetectFieldOrder"}));
    const std::string stars(37, '*');
    EXPECT_EQ(Tail(log, 5), (Strings{"stage DetectFieldOrder", stars,
                                     "EXCEPTION: Audio is not found. Encoding aborted.", stars,
                                     "Job finished."}));
    EXPECT_EQ(Unstamped(window.Lines()), log);
}

TEST_F(Driver, BadInputEndsTheJobBeforeAnyStageWithAMessageNamingIt) {
    TEncRecord job = TestJob(Output());
    job.SubTrack = 7;
    Strings log = Run(job);
    EXPECT_TRUE(calls.empty());
    EXPECT_EQ(Tail(log, 3)[0],
              "EXCEPTION: Subtitle track 7 is not in the source description, which has 2.");

    dir.Write("blocked", "");  // a file where the output folder should be
    log = Run(TestJob(dir.File("blocked/film.avi")), true);
    EXPECT_TRUE(calls.empty());
    const std::string stars(37, '*');
    EXPECT_EQ(Tail(Unstamped(window.Lines()), 5),
              (Strings{stars,
                       "EXCEPTION: Cannot create the temporary folder " +
                           dir.File("blocked/mx_preview") + ".",
                       stars, "Job finished.",
                       "Cannot write the job log " + dir.File("blocked/film_mx.log") + "."}));
}

TEST_F(Driver, APreviewIndexesOnceShowsTheScriptAndGivesTheWindowItsButtonsBack) {
    const std::string opened = dir.File("player.txt");
    testing_support::ScopedEnv record("SPINE_RECORD_FILE", opened);
    Program().MediaPlayerPath = Helper("spine_record");
    stages.Replace(kIndexForPreview, [this](TRun& e) {
        calls.push_back("IndexForPreview");
        e.Source.D2VFile = e.TempFile("_preview.d2v");
        platform::WriteFileText(e.Source.D2VFile, "");
    });
    stages.Replace(kExtractSubtitles, [this](TRun& e) {
        calls.push_back("ExtractSubtitles");
        e.Source.VobSubFile = e.TempFile(".idx");
        platform::WriteFileText(e.Source.VobSubFile, "");
    });
    stages.Replace(kDetectFieldOrder, [this](TRun& e) {
        calls.push_back("DetectFieldOrder");
        EXPECT_EQ(e.Source.SourceType, 2);
    });
    TEncRecord job = TestJob(Output());
    job.SubTrack = 0;
    RunState().StateFlags = 0;
    const Strings log = Run(job, true);
    EXPECT_EQ(calls, (Strings{"IndexForPreview", "ExtractSubtitles", "DetectFieldOrder",
                              "ChooseInitialSettings", "PreviewScript"}));
    EXPECT_EQ(RunState().PreviewIndexFile.Get(), dir.File("out/mx_preview/film_preview.d2v"));
    EXPECT_EQ(RunState().PreviewSubsFile.Get(), dir.File("out/mx_preview/film.idx"));
    const std::string script = dir.File("out/mx_preview/film_preview.avs");
    EXPECT_EQ(testing_support::ReadAll(script),
              "MPEG2Source(\"x.d2v\")\r\nLanczosResize(640,272)\r\n");
    EXPECT_TRUE(RunState().StateFlags.load() & Idle);
    EXPECT_EQ(ui.updates.load(), 1);
    EXPECT_EQ(log, (Strings{log[0], log[1], "Job started.", "stage ChooseInitialSettings",
                            "Job finished."}));
    const Strings shown = Unstamped(window.Lines());
    EXPECT_EQ(std::count(shown.begin(), shown.end(), "Indexing input for preview."), 1);
    EXPECT_EQ(std::count(shown.begin(), shown.end(), "Indexing subtitles for preview."), 1);
    for (int i = 0; i < 250 && testing_support::ReadAll(opened).empty(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(testing_support::ReadAll(opened), Helper("spine_record") + " " + script);

    calls.clear();
    Run(job, true);  // the second preview reuses both files
    EXPECT_EQ(calls, (Strings{"DetectFieldOrder", "ChooseInitialSettings", "PreviewScript"}));
}

TEST_F(Driver, AnAbortForARunNotYetStartedStopsItBeforeItsFirstProgram) {
    const std::string marker = dir.File("started");
    stages.Replace(kIndexForEncoding, [&](TRun&) {
        calls.push_back("IndexForEncoding");
        RunProgram(Helper("spine_sleep") + " 0 " + marker, true, true);
    });
    RunState().AbortRequested = true;  // stale: must not stop this run
    TEncRecord job = TestJob(Output());
    job.TargetSize = 0;
    TMXEncoder fresh(job, false);
    fresh.SetStages(stages);
    fresh.Execute();
    EXPECT_TRUE(platform::FileExists(marker));
    EXPECT_EQ(calls.back(), "SplitOutput");

    calls.clear();
    platform::DeleteTree(marker);
    TMXEncoder aborted(job, false);
    aborted.SetStages(stages);
    RequestAbort();
    aborted.Execute();
    EXPECT_FALSE(platform::FileExists(marker));
    EXPECT_EQ(calls, Strings{"IndexForEncoding"});
    EXPECT_EQ(Tail(Unstamped(FileLines(aborted.JobLogFile())), 3)[0], "EXCEPTION: Job aborted");
}

}  // namespace
