// Whole jobs through every real stage with the stand-in tools: the job log's stage lines from
// indexing to "Job finished." in their order, and the files the job leaves.
#include "DecideLogs.h"
#include "avi/AviTestFile.h"
#include "encoder/IndexFile.h"
#include "encoder/StageTestSupport.h"

namespace {

using Strings = std::vector<std::string>;

// A sparse AVI of `frames` video frames of 1 MiB each, a key frame every 25.
void WriteMovie(const std::string& path, int frames) {
    avitest::AviPlan plan;
    std::string keys;
    for (int i = 0; i < frames; ++i) keys += i % 25 == 0 ? 'K' : '.';
    plan.chunks = avitest::Frames(keys, 1048576);
    plan.sparse = true;
    avitest::MakeAvi(plan).bytes.WriteTo(path);
}

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
        run.SetStages(DefaultStages());
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
    EXPECT_GT(run_->SubtitleSize, 0);  // the delivered subtitles count against the budget
    // The budget reaches the codec through the analysis and the passes unchanged.
    EXPECT_EQ(run_->XviDParams.DesiredSize, int32_t((run_->VideoSize + 512) / 1024));
    EXPECT_EQ(run_->XviDParams.Mode, 5);
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
    EXPECT_EQ(run_->DivXParams.VbrMode, 3);
    EXPECT_EQ(run_->DivXParams.TargetBitrate, 14668562);
    // The second pass takes the encoded track, not the demultiplexed one.
    EXPECT_EQ(run_->EncodedAudioFile.substr(run_->EncodedAudioFile.size() - 4), ".mp3");
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
    EXPECT_TRUE(run_->AutoAudio);
    EXPECT_EQ(run_->Settings.AudioMode, kAudioAC3);
    EXPECT_TRUE(run_->HasAudio2);
    EXPECT_EQ(run_->EncodedAudioFile, Temp("film T01 3_2ch 448Kbps DELAY 0ms.ac3"));
    EXPECT_EQ(run_->EncodedAudioFile2, Temp("film T03 3_2ch 448Kbps DELAY 0ms.mp3"));
    EXPECT_EQ(run_->VobSubFile, Temp("film.idx"));
    EXPECT_FALSE(platform::FileExists(out + ".idx"));
    EXPECT_TRUE(platform::FileExists(out + ".cd2.avi"));
}

}  // namespace
