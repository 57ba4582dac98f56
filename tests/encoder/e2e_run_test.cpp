// Whole jobs through every real stage with the stand-in tools: the job log's stage lines from
// indexing to "Job finished." in their order, and the files the job leaves.
#include <chrono>
#include <cstdio>
#include <mutex>
#include <thread>

#include "DecideLogs.h"
#include "encoder/StageTestSupport.h"
#include "encoder/TextFiles.h"
#include "support/SparseMovie.h"

namespace {

using testing_support::WriteMovie;

using Strings = std::vector<std::string>;

class EndToEnd : public StageTest {
  protected:
    void SetUp() override {
        StageTest::SetUp();
        ASSERT_TRUE(platform::ForceDirectories(fakeDir));
        // A progressive source whose test and passes compress as the budget asks.
        Prepare("interlace1.log", LogText(Marks(CombedShare(0))));
        Prepare("comptest.frames", FramesLog(std::vector<int64_t>(30, 4352)));
        Prepare("pass.frames", FramesLog(std::vector<int64_t>(10, 100000000)));
        Prepare("film_comptest.avi", TinyAvi(640, 272));
        Prepare("film.avi", TinyAvi(640, 272));
    }
    void Prepare(const std::string& name, const std::string& text) {
        ASSERT_TRUE(platform::WriteFileText(fakeDir + "/" + name, text));
    }

    // Runs the job with every real stage; the log's lines without stamps, echoes and timings.
    Strings RunJob(const TEncRecord& job) {
        run_ = std::make_unique<TMXEncoder>(job, false);
        TMXEncoder& run = *run_;
        run.SetStages(TStageTable());
        run.Execute();
        Strings steps;
        bool started = false, inEcho = false;
        for (const std::string& line : Messages(LoadTextLines(run.JobLogFile()))) {
            if (line == std::string(59, '=')) {
                inEcho = !inEcho;
                continue;
            }
            started = started || line == "Demuxing and indexing.";
            if (started && !inEcho && IsStageLine(line)) steps.push_back(line);
        }
        return steps;
    }
    // The lines that tell which stage runs and what it decided; the measured sizes, ratios and
    // timings are left to the stages' own tests.
    static bool IsStageLine(const std::string& line) {
        for (const char* skip : {"Writing the following script", "Duration was: ", "Speed was: ",
                                 "Audio size: ", "Audio 2 size: ", "Overhead: ", "Subtitles size: ",
                                 "Video size: ", "Compressibility percentage", "Chosen resolution",
                                 "Predicted ", "Expected quality", "Source has percentage"})
            if (line.rfind(skip, 0) == 0) return false;
        return true;
    }

    std::unique_ptr<TMXEncoder> run_;
    std::string fakeDir = dir.File("fake");
    testing_support::ScopedEnv fake_{"DECIDE_FAKE_DIR", dir.File("fake")};
    testing_support::ScopedEnv config_{"MOVREX_CONFIG_DIR", dir.File("config")};
    testing_support::ScopedEnv machine_{"MOVREX_MACHINE_HIVE", dir.File("system/machine.reg")};
};

TEST_F(EndToEnd, SizeModeXviDOnTwoCdsWithAc3AndExternalSubtitles) {
    WriteMovie(fakeDir + "/film.avi", 1350);
    TEncRecord job = Job();
    job.TargetSize = 1400;
    job.AudioMode = kAudioAC3;
    job.SubTrack = 0;
    job.ExternalSubs = true;
    const std::string out = dir.File("out/film");
    EXPECT_EQ(RunJob(job), (Strings{"Demuxing and indexing.", "Analyzing source.",
                                    "Source is considered to be progressive.", "Found 9999 frames",
                                    "Indexing subtitles.", "Compressing subtitles.",
                                    "Running compressibility test.", "Switching b-frames off.",
                                    "Running first pass.", "Running second pass.",
                                    "Splitting video into: " + out + ".cd1.avi",
                                    "Splitting and compressing subtitles.",
                                    "Splitting video into: " + out + ".cd2.avi",
                                    "Splitting and compressing subtitles.", "Job finished."}));
    for (const char* ext : {".avi", ".idx", ".rar", ".cd1.avi", ".cd1.idx", ".cd1.sub", ".cd1.rar",
                            ".cd2.avi", ".cd2.idx", ".cd2.sub", ".cd2.rar", "_mx.log"})
        EXPECT_TRUE(platform::FileExists(out + ext)) << ext;
    EXPECT_GT(run_->Budget.SubtitleSize, 0);  // the delivered subtitles count against the budget
    // The budget reaches the codec through the analysis and the passes unchanged.
    EXPECT_EQ(run_->Plan.XviDParams.DesiredSize, int32_t((run_->Budget.VideoSize + 512) / 1024));
    EXPECT_EQ(run_->Plan.XviDParams.Mode, 5);
}

// Keeps what a run shows of its progress, from whichever thread.
class ProgressRecorder : public IProgressSink {
  public:
    void ShowProgress(const TJobProgress& progress) override {
        std::lock_guard<std::mutex> lock(mutex_);
        reports_.push_back(progress);
    }
    std::vector<TJobProgress> Reports() {
        std::lock_guard<std::mutex> lock(mutex_);
        return reports_;
    }

  private:
    std::mutex mutex_;
    std::vector<TJobProgress> reports_;
};

// Each tool's progress is shown as its stage's, the job runner's in frames, from the moment the
// tool starts; it goes away when the job ends.
TEST_F(EndToEnd, ToolProgressIsShownAsTheRunningStages) {
    testing_support::ScopedEnv printed("STAGE_PROGRESS", "3");
    ProgressRecorder shown;
    TEncRecord job = Job();
    job.QualityMode = true;
    job.Quality = 80;
    job.AudioMode = kAudioAC3;
    job.Progress = &shown;
    RunJob(job);
    const std::vector<TJobProgress> reports = shown.Reports();
    ASSERT_GE(reports.size(), 2u);
    EXPECT_EQ(reports.back(), TJobProgress{});
    Strings begun;
    for (const TJobProgress& report : reports)
        if (report.Total == 0 && !report.Stage.empty()) begun.push_back(report.Stage);
    EXPECT_EQ(begun, (Strings{"Indexing", "Analysing the source", "Single pass"}));
    const TJobProgress& last = reports[reports.size() - 2];
    EXPECT_EQ(last.Stage, "Single pass");
    EXPECT_TRUE(last.Frames);
    EXPECT_EQ(last.Done, 3);
    EXPECT_EQ(last.Total, 3);
}

TEST_F(EndToEnd, QualityModeXviD) {
    TEncRecord job = Job();
    job.QualityMode = true;
    job.Quality = 80;
    job.AudioMode = kAudioAC3;
    EXPECT_EQ(RunJob(job), (Strings{"Demuxing and indexing.", "Analyzing source.",
                                    "Source is considered to be progressive.", "Found 9999 frames",
                                    "Running single pass encoding.", "Job finished."}));
    EXPECT_TRUE(platform::FileExists(Output()));
    EXPECT_EQ(run_->Settings.AudioMode, kAudioAC3);
}

TEST_F(EndToEnd, SizeModeDivXWithVbrMp3) {
    TEncRecord job = Job();
    job.Codec = kCodecDivX;
    job.AudioMode = kAudioVbrMp3;
    job.AudioBitrate = 128;
    EXPECT_EQ(RunJob(job),
              (Strings{"Demuxing and indexing.", "Analyzing source.",
                       "Source is considered to be progressive.", "Found 9999 frames",
                       "Encoding audio.", "Target bitrate is: 14669kbps",
                       "Running compressibility test.", "Switching b-frames off.",
                       "Running first pass.", "Running second pass.", "Job finished."}));
    EXPECT_TRUE(platform::FileExists(Output()));
    EXPECT_EQ(run_->Plan.DivXParams.VbrMode, 3);
    EXPECT_EQ(run_->Plan.DivXParams.TargetBitrate, 14668562);
    // The second pass takes the encoded track, not the demultiplexed one.
    EXPECT_EQ(run_->Audio.EncodedAudioFile.substr(run_->Audio.EncodedAudioFile.size() - 4), ".mp3");
}

// The automatic audio choice settles both tracks before the budget and the passes: the first goes
// in as AC3, the second as MP3; the subtitles are drawn into the picture.
TEST_F(EndToEnd, AutomaticAudioWithASecondTrackAndRenderedSubtitles) {
    WriteMovie(fakeDir + "/film.avi", 1350);
    TEncRecord job = Job();
    job.TargetSize = 1400;
    job.AudioMode = kAudioAuto;
    job.AudioTrack2 = 1;
    job.SubTrack = 1;
    job.ExternalSubs = false;
    const std::string out = dir.File("out/film");
    EXPECT_EQ(RunJob(job),
              (Strings{"Demuxing and indexing.", "Analyzing source.",
                       "Source is considered to be progressive.", "Found 9999 frames",
                       "Encoding audio 2.", "Indexing subtitles.", "Running compressibility test.",
                       "Switching b-frames off.", "Running first pass.", "Running second pass.",
                       "Splitting video into: " + out + ".cd1.avi",
                       "Splitting video into: " + out + ".cd2.avi", "Job finished."}));
    EXPECT_TRUE(run_->Audio.AutoAudio);
    EXPECT_EQ(run_->Settings.AudioMode, kAudioAC3);
    EXPECT_TRUE(run_->Audio.HasAudio2);
    EXPECT_EQ(run_->Audio.EncodedAudioFile, Temp("film T01 3_2ch 448Kbps DELAY 0ms.ac3"));
    EXPECT_EQ(run_->Audio.EncodedAudioFile2, Temp("film T03 3_2ch 448Kbps DELAY 0ms.mp3"));
    EXPECT_EQ(run_->Source.VobSubFile, Temp("film.idx"));
    EXPECT_FALSE(platform::FileExists(out + ".idx"));
    EXPECT_TRUE(platform::FileExists(out + ".cd2.avi"));
}

// A preview through the real stages: its own index and subtitles, the script handed to a player
// that is not waited for, the two "for preview." lines in the window only. A second preview of the
// same title reuses both files; a normal job afterwards makes its own in a folder of its own, so
// the player keeps its files and the next preview reuses them still.
TEST_F(EndToEnd, PreviewsCacheTheirIndexAndANormalJobDoesNotTakeIt) {
    Program().MediaPlayerPath = Helper("stage_player");
    const std::string opened = dir.File("opened.avs");
    testing_support::ScopedEnv copy("STAGE_PLAYER_COPY", opened);
    TEncRecord job = Job();
    job.SubTrack = 0;
    job.ExternalSubs = false;
    const std::string index = PreviewTemp("film_preview.d2v"), subs = PreviewTemp("film.idx");
    const std::string script = PreviewTemp("film_preview.avs");
    const std::string player = Helper("stage_player") + " " + script;
    Strings echoed;  // the scripts the last preview's job log shows
    const auto preview = [&] {
        std::remove(opened.c_str());
        const size_t before = window.Lines().size();
        TMXEncoder run(job, true);
        run.SetStages(TStageTable());
        RunState().StateFlags = 0;
        run.Execute();
        EXPECT_TRUE(RunState().StateFlags.load() & Idle);
        for (int i = 0; i < 250 && !platform::FileExists(opened); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        const Strings all = Messages(window.Lines());
        Strings shown(all.begin() + before + 2, all.end());  // after the banner and the OS line
        Strings filed;
        for (const std::string& line : shown)
            if (line.size() < 12 || line.substr(line.size() - 12) != "for preview.")
                filed.push_back(line);
        // The file holds the same lines but those that end in "for preview.", and the echoes of
        // the scripts the stages write, which go to the file only.
        echoed.clear();
        Strings file;
        bool inEcho = false;
        for (const std::string& line : Messages(LoadTextLines(run.JobLogFile()))) {
            const bool frame = line == std::string(59, '=');
            const bool caption = line.rfind("Writing the following script to ", 0) == 0;
            inEcho = inEcho != frame;
            if (caption) echoed.push_back(line);
            if (!frame && !caption && !inEcho) file.push_back(line);
        }
        EXPECT_EQ(Strings(file.begin() + std::min<size_t>(2, file.size()), file.end()), filed);
        return shown;
    };

    EXPECT_EQ(preview(), (Strings{"Job started.", "Indexing input for preview.",
                                  "Indexing subtitles for preview.", "Job finished."}));
    EXPECT_EQ(echoed, Strings{"Writing the following script to " + PreviewTemp("vobsub.params")});
    EXPECT_EQ(RunState().PreviewIndexFile.Get(), index);
    EXPECT_EQ(RunState().PreviewSubsFile.Get(), subs);
    ASSERT_EQ(Calls().size(), 3u);
    EXPECT_NE(Calls()[0].find(" -OF=[" + PreviewTemp("film_preview") + "]"), std::string::npos)
        << Calls()[0];
    EXPECT_EQ(Calls()[2], player);
    const std::string shownScript = testing_support::ReadAll(opened);
    EXPECT_EQ(shownScript, testing_support::ReadAll(script));
    EXPECT_NE(shownScript.find(index), std::string::npos);
    EXPECT_NE(shownScript.find(subs), std::string::npos);

    EXPECT_EQ(preview(), (Strings{"Job started.", "Job finished."}));  // nothing indexed again
    EXPECT_TRUE(echoed.empty());
    EXPECT_EQ(Calls().size(), 4u);
    EXPECT_EQ(Calls().back(), player);
    EXPECT_EQ(testing_support::ReadAll(opened), shownScript);

    // A job without subtitles: its own index, and the preview's subtitles not drawn in.
    job.SubTrack = -1;
    job.QualityMode = true;
    job.Quality = 80;
    RunJob(job);
    EXPECT_EQ(run_->Source.D2VFile, Temp("film.d2v"));
    EXPECT_EQ(run_->Source.VobSubFile, "");
    EXPECT_TRUE(platform::FileExists(Output()));
    for (const std::string& call : Calls()) EXPECT_EQ(call.find(".idx"), std::string::npos) << call;
    EXPECT_EQ(testing_support::ReadAll(script), shownScript);

    const size_t calls = Calls().size();
    job.SubTrack = 0;
    EXPECT_EQ(preview(), (Strings{"Job started.", "Job finished."}));
    EXPECT_EQ(Calls().size(), calls + 1);
    EXPECT_EQ(RunState().PreviewIndexFile.Get(), index);
}

}  // namespace
