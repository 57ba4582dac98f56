// The planner's audio stage and size budget on the installed transcoder, for every kind of DVD
// track and every audio choice.
#include <filesystem>

#include "AudioChecks.h"
#include "encoder/encoder.h"
#include "encoder/stages/Stages.h"
#include "jobs/ProgramValues.h"
#include "support/TestEnv.h"

namespace {

using namespace audio_checks;

struct TrackSpec {
    const char* media;  // the generated track
    const char* channels;
    const char* format;
};

class AudioStage : public ::testing::Test {
  protected:
    void SetUp() override {
        REQUIRE_AUDIO_MEDIA();
        saved_ = Program();
        Program().ProgramDir = dir.Path();
        Program().BeSweetPath = TranscoderPath();
        RunState().AbortRequested = false;
        dir.Write("dvd/VTS_01_1.VOB", "");
    }
    void TearDown() override { Program() = saved_; }

    // A size-mode job on two tracks, each demultiplexed into the temporary folder under the name
    // the indexer gives it; runs the audio stage and the budget.
    std::unique_ptr<TMXEncoder> Encode(TEncRecord job, const TrackSpec& first,
                                       const TrackSpec& second) {
        job.InputDir = dir.File("dvd");
        job.OutputFile = dir.File("out/film.avi");
        job.VobInfo.Valid = true;
        job.VobInfo.AddAudio({0, "English", first.channels, first.format, 0});
        job.VobInfo.AddAudio({1, "Deutsch", second.channels, second.format, 0});
        job.AudioTrack = 0;
        job.AudioTrack2 = 1;
        auto run = std::make_unique<TMXEncoder>(job, false);
        Demux(*run, first.media, 1);
        Demux(*run, second.media, 2);
        kEncodeAudio.Work(*run);
        run->Source.FrameCount = 75;
        kComputeBudget.Work(*run);
        return run;
    }
    static void Demux(const TMXEncoder& run, const char* media, int track) {
        const std::string from = Track(media);
        const std::string name = std::filesystem::path(from).filename().string();
        const std::string to = run.TempFolder() + "film T0" + std::to_string(track) +
                               name.substr(name.find(" T0") + 4);
        std::filesystem::copy_file(from, to);
    }
    static bool Logged(const TMXEncoder& run, const std::string& text) {
        for (const std::string& line : run.JobLog)
            if (line.find(text) != std::string::npos) return true;
        return false;
    }

    testing_support::TempDir dir;

  private:
    TProgramValues saved_;
};

const TrackSpec kAc3Six{"ac3_51", "6ch", "AC3"}, kMpeg{"mpa_20", "2ch", "MPEG1"},
    kMpegMono{"mpa_10", "1ch", "MPEG1"}, kLpcm{"lpcm_20", "2ch", "LPCM"};

TEST_F(AudioStage, TheAutomaticChoiceBelowOneCdEncodesBothTracks) {
    TEncRecord job = InitialEncSettings();
    job.TargetSize = 705;
    auto run = Encode(job, kAc3Six, kLpcm);
    EXPECT_EQ(run->Settings.AudioMode, kAudioVbrMp3);
    for (const std::string& mp3 : {run->Audio.EncodedAudioFile, run->Audio.EncodedAudioFile2}) {
        EXPECT_TRUE(mp3.ends_with(".mp3")) << mp3;
        EXPECT_EQ(Probe(mp3, "stream=channels"), "2");
    }
    EXPECT_TRUE(Logged(*run, "Audio size: "));
    EXPECT_TRUE(Logged(*run, "Audio 2 size: "));
    EXPECT_GT(run->Budget.VideoSize, 0);
}

TEST_F(AudioStage, AnMpegTrackIsEncodedWhereAc3WouldBeKept) {
    TEncRecord job = InitialEncSettings();
    job.TargetSize = 1400;
    auto run = Encode(job, kMpeg, kAc3Six);
    EXPECT_EQ(run->Settings.AudioMode, kAudioVbrMp3);
    EXPECT_EQ(Probe(run->Audio.EncodedAudioFile, "stream=codec_name"), "mp3");
    EXPECT_TRUE(Logged(*run, "Audio 2 size: "));
}

TEST_F(AudioStage, ConstantBitrateAndMonoByTrackOrMarker) {
    TEncRecord job = InitialEncSettings();
    job.TargetSize = 700;
    job.AudioMode = kAudioCbrMp3;
    job.AudioBitrate = 192;
    auto run = Encode(job, kMpegMono, kAc3Six);
    EXPECT_EQ(Probe(run->Audio.EncodedAudioFile, "stream=channels"), "1");
    EXPECT_EQ(Probe(run->Audio.EncodedAudioFile, "stream=bit_rate"), "192000");
    EXPECT_EQ(Probe(run->Audio.EncodedAudioFile2, "stream=channels"), "2");

    dir.Write("dvd/.mono", "");
    job.AudioMode = kAudioVbrMp3;
    run = Encode(job, kAc3Six, kLpcm);
    EXPECT_TRUE(Logged(*run, "Enforcing mono audio encoding."));
    EXPECT_EQ(Probe(run->Audio.EncodedAudioFile, "stream=channels"), "1");
    EXPECT_EQ(Probe(run->Audio.EncodedAudioFile2, "stream=channels"), "1");
    EXPECT_TRUE(Logged(*run, "Audio 2 size: "));
}

}  // namespace
