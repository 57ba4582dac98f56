#include "encoder/StageTestSupport.h"
#include "encoder/rules/AudioChoice.h"

namespace {

using Strings = std::vector<std::string>;

TEST(AudioChoice, TheAutomaticChoiceKeepsAc3AboveOneCdAndInQualityMode) {
    const struct {
        bool quality;
        int32_t target;
        uint8_t mode;
    } cases[] = {{false, 705, kAudioVbrMp3}, {false, 706, kAudioAC3}, {true, 0, kAudioAC3}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.target);
        const TAudioChoice a = ResolveAudioChoice(kAudioAuto, 0, c.quality, c.target);
        EXPECT_TRUE(a.AutoAudio);
        EXPECT_EQ(a.AudioMode, c.mode);
        EXPECT_EQ(a.AudioBitrate, 128);
        EXPECT_EQ(a.Audio2Mode, kAudioVbrMp3);
        EXPECT_EQ(a.Audio2Bitrate, 128);
    }
    const TAudioChoice chosen = ResolveAudioChoice(kAudioCbrMp3, 192, false, 700);
    EXPECT_FALSE(chosen.AutoAudio);
    EXPECT_EQ(chosen.Audio2Mode, kAudioCbrMp3);
    EXPECT_EQ(chosen.Audio2Bitrate, 192);
}

TEST(AudioChoice, PatternAndEncoderArguments) {
    EXPECT_EQ(DemuxedAudioPattern("film.avi", 2), "film* t02 *");
    EXPECT_EQ(DemuxedAudioPattern("my.film.avi", 12), "my.film* t12 *");
    EXPECT_EQ(Mp3Arguments(false, true, "a b.ac3", "a b.mp3", "a b.log", 128),
              " -core( -input \"a b.ac3\" -output \"a b.mp3\" -logfile \"a b.log\" ) -ota( "
              "-hybridgain ) -azid( -L -3db -c normal ) -lame( -m m -h -alt-preset 128 ) "
              "-profile( Movrex )");
    const std::string vbr = Mp3Arguments(false, false, "i", "o", "l", 96);
    EXPECT_NE(vbr.find("-lame( -h -alt-preset 96 )"), std::string::npos) << vbr;
    EXPECT_NE(Mp3Arguments(true, true, "i", "o", "l", 64).find("-lame( -m m -h --cbr -b 64 )"),
              std::string::npos);
    EXPECT_NE(Mp3Arguments(true, false, "i", "o", "l", 64).find("-lame( -h --cbr -b 64 )"),
              std::string::npos);
}

class Audio : public StageTest {
  protected:
    // Indexes the title (which demultiplexes the tracks) and runs the audio stage.
    std::unique_ptr<TMXEncoder> Encode(const TEncRecord& job) {
        auto run = Run(job);
        kIndexForEncoding.Work(*run);
        std::remove(dir.File("calls.log").c_str());
        kEncodeAudio.Work(*run);
        return run;
    }
    std::string Demuxed(int track, const std::string& ext = ".ac3") const {
        return Temp("film T0" + std::to_string(track) + " 3_2ch 448Kbps DELAY 0ms" + ext);
    }
    std::string Lame(const std::vector<std::string>& calls, size_t i) const {
        if (i >= calls.size()) return "(no call)";
        const size_t at = calls[i].find("-lame(");
        return calls[i].substr(at, calls[i].find(')', at) - at + 1);
    }
};

TEST_F(Audio, TheAutomaticChoiceAt705MbEncodesBothTracksAsVbrMp3) {
    TEncRecord job = Job();
    job.AudioTrack2 = 1;
    job.TargetSize = 705;
    auto run = Encode(job);
    EXPECT_TRUE(run->Audio.AutoAudio);
    EXPECT_EQ(run->Settings.AudioMode, kAudioVbrMp3);
    EXPECT_EQ(run->Audio.DemuxedAudioFile, Demuxed(1));
    EXPECT_EQ(run->Audio.EncodedAudioFile, Demuxed(1, ".mp3"));
    EXPECT_EQ(run->Audio.EncodedAudioFile2, Demuxed(3, ".mp3"));
    const Strings calls = Calls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0],
              Program().BeSweetPath + Mp3Arguments(false, false, Demuxed(1), Demuxed(1, ".mp3"),
                                                   Demuxed(1, ".log"), 128));
    EXPECT_EQ(Lame(calls, 1), "-lame( -h -alt-preset 128 )");
    EXPECT_EQ(Logged(*run), (Strings{"Encoding audio.", "Encoding audio 2."}));
}

TEST_F(Audio, At706MbAndInQualityModeAc3IsTakenUnchanged) {
    for (int32_t target : {706, 0}) {
        SCOPED_TRACE(target);
        TEncRecord job = Job();
        job.AudioTrack2 = 1;
        job.TargetSize = target;
        auto run = Encode(job);
        EXPECT_EQ(run->Settings.AudioMode, kAudioAC3);
        EXPECT_EQ(run->Audio.EncodedAudioFile, Demuxed(1));
        EXPECT_EQ(run->Audio.EncodedAudioFile2, Demuxed(3, ".mp3"));
        EXPECT_EQ(Calls().size(), 1u);  // the second track only
        EXPECT_EQ(Logged(*run), Strings{"Encoding audio 2."});
    }
}

TEST_F(Audio, ANonAc3FirstTrackIsEncodedAndTheModeStaysMp3) {
    testing_support::ScopedEnv env("STAGE_AUDIO_EXT", ".mpa");
    TEncRecord job = Job();
    job.TargetSize = 1400;
    job.AudioTrack2 = 1;
    job.AudioMode = kAudioAC3;
    auto run = Encode(job);
    EXPECT_EQ(run->Settings.AudioMode, kAudioVbrMp3);
    EXPECT_EQ(run->Audio.EncodedAudioFile, Demuxed(1, ".mp3"));
    // MPEG audio goes into an AVI as it is: the second track is taken as demultiplexed.
    EXPECT_EQ(run->Audio.EncodedAudioFile2, Demuxed(3, ".mpa"));
    EXPECT_EQ(Calls().size(), 1u);
}

TEST_F(Audio, AnLpcmSecondTrackInTheAc3ModeIsEncodedToVbrMp3) {
    testing_support::ScopedEnv env("STAGE_AUDIO_EXT", ".wav");
    TEncRecord job = Job();
    job.TargetSize = 1400;
    job.AudioTrack2 = 1;
    job.AudioMode = kAudioAC3;
    job.AudioBitrate = 160;
    auto run = Encode(job);
    EXPECT_EQ(run->Audio.Audio2Mode, kAudioVbrMp3);
    EXPECT_EQ(run->Audio.EncodedAudioFile2, Demuxed(3, ".mp3"));
    const Strings calls = Calls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(Lame(calls, 1), "-lame( -h -alt-preset 160 )");
    EXPECT_EQ(Logged(*run), (Strings{"Encoding audio.", "Encoding audio 2."}));
}

TEST_F(Audio, MonoByTheTracksChannelsOrByTheMarkerForEveryTrack) {
    TEncRecord job = Job();
    job.VobInfo.Audio[1].Channels = "1ch";
    job.AudioTrack2 = 1;
    job.AudioMode = kAudioCbrMp3;
    job.AudioBitrate = 96;
    auto run = Encode(job);
    Strings calls = Calls();
    EXPECT_EQ(Lame(calls, 0), "-lame( -h --cbr -b 96 )");
    EXPECT_EQ(Lame(calls, 1), "-lame( -m m -h --cbr -b 96 )");

    dir.Write("dvd/.mono", "");
    std::remove(dir.File("calls.log").c_str());
    job.AudioMode = kAudioVbrMp3;
    run = Encode(job);
    calls = Calls();
    EXPECT_EQ(Lame(calls, 0), "-lame( -m m -h -alt-preset 96 )");
    EXPECT_EQ(Lame(calls, 1), "-lame( -m m -h -alt-preset 96 )");
    EXPECT_EQ(Logged(*run),
              (Strings{"Enforcing mono audio encoding.", "Encoding audio.", "Encoding audio 2."}));
}

TEST_F(Audio, MissingTracksAreLoggedAndLeaveNoFile) {
    testing_support::ScopedEnv skip("STAGE_SKIP_TRACK", "1");
    TEncRecord job = Job();
    job.AudioTrack2 = 1;
    auto run = Encode(job);
    EXPECT_EQ(run->Audio.EncodedAudioFile, "");
    EXPECT_EQ(run->Audio.EncodedAudioFile2, Demuxed(3, ".mp3"));
    EXPECT_EQ(Logged(*run), (Strings{"Audio is not found.", "Encoding audio 2."}));

    testing_support::ScopedEnv nothing("STAGE_LEAVE_NOTHING", "1");
    run.reset();  // one run at a time holds the output folder
    run = Encode(job);
    EXPECT_EQ(Logged(*run), (Strings{"Audio is not found.", "Audio 2 is not found."}));
}

TEST_F(Audio, NoFirstTrackMeansNothingIsDoneOrLogged) {
    TEncRecord job = Job();
    job.AudioTrack = -1;
    job.AudioTrack2 = 1;
    auto run = Encode(job);
    EXPECT_TRUE(Logged(*run).empty());
    EXPECT_FALSE(run->Audio.AutoAudio);
    EXPECT_TRUE(Calls().empty());
}

}  // namespace
