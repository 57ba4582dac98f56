// The installed transcoder on tracks as the indexer leaves them, judged by ffprobe and ffmpeg.
#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "AudioChecks.h"
#include "support/TestEnv.h"

namespace {

using namespace audio_checks;

class Transcoder : public ::testing::Test {
  protected:
    void SetUp() override { REQUIRE_AUDIO_MEDIA(); }
    // Encodes `input` with the planner's command line into a name with blanks and accents.
    RunResult Encode(const std::string& input, const std::string& lame) {
        std::remove(mp3.c_str());
        return RunLine(CommandLine(input, mp3, log, lame));
    }
    // The folder holds nothing but what a run left under the final names.
    std::vector<std::string> Leftovers() const {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(dir.Path()))
            if (e.path() != mp3 && e.path() != log) names.push_back(e.path().string());
        return names;
    }

    testing_support::TempDir dir;
    const std::string mp3 = dir.File("film T01 à été DELAY -40ms.mp3");
    const std::string log = dir.File("film T01 à été DELAY -40ms.log");
};

TEST_F(Transcoder, EveryKindOfTrackInEveryModeKeepsItsLength) {
    const struct {
        const char* track;
        const char* lame;
        int channels;
    } cases[] = {
        {"ac3_51", "-h -alt-preset 128", 2}, {"ac3_51", "-m m -h --cbr -b 96", 1},
        {"ac3_20", "-h --cbr -b 128", 2},    {"mpa_20", "-m m -h -alt-preset 96", 1},
        {"mpa_10", "-h -alt-preset 128", 2}, {"lpcm_20", "-h -alt-preset 160", 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.track) + " " + c.lame);
        const std::string input = Track(c.track);
        const RunResult r = Encode(input, c.lame);
        ASSERT_EQ(r.status, 0) << r.errors;
        const Decoded out = Decode(mp3);
        EXPECT_EQ(out.channels, c.channels);
        EXPECT_LE(std::abs(double(out.Frames()) - double(Decode(input).Frames())), 1152);
        EXPECT_EQ(Probe(mp3, "stream=sample_rate"), "48000");
        EXPECT_NE(r.output.find("progress "), std::string::npos);
        EXPECT_TRUE(Leftovers().empty());
    }
}

TEST_F(Transcoder, AverageBitrateNearThePresetAndConstantBitrateExact) {
    const std::string noise = Track("noise_20");
    for (int kbps : {128, 192}) {
        ASSERT_EQ(Encode(noise, "-h -alt-preset " + std::to_string(kbps)).status, 0);
        const double rate = std::atof(Probe(mp3, "format=bit_rate").c_str()) / 1000;
        EXPECT_NEAR(rate, kbps, kbps * 0.1) << kbps;
        // The info frame gives the length, so the duration is read from the whole file.
        EXPECT_NEAR(std::atof(Probe(mp3, "format=duration").c_str()), 4.0, 1152 / 48000.0);
    }
    for (const char* lame : {"-h --cbr -b 128", "-m m -h --cbr -b 128"}) {
        ASSERT_EQ(Encode(noise, lame).status, 0);
        EXPECT_EQ(Probe(mp3, "stream=bit_rate"), "128000") << lame;
    }
    ASSERT_EQ(Encode(noise, "-h --cbr -b 144").status, 0);
    EXPECT_EQ(Probe(mp3, "stream=bit_rate"), "160000");
    EXPECT_NE(testing_support::ReadAll(log).find("144 kbit/s is no MP3 bitrate"),
              std::string::npos);
}

TEST_F(Transcoder, TheDownmixKeepsEachSideAndDoesNotClipFullScale) {
    // FL 300 Hz, FR 500, FC 700, LFE 60, SL 1100, SR 1300, each at full scale.
    ASSERT_EQ(Encode(Track("tones_51"), "-h --cbr -b 192").status, 0);
    const Decoded out = Decode(mp3);
    ASSERT_EQ(out.channels, 2);
    const double present = 0.2, absent = 0.01;
    for (double hz : {300, 700, 1100}) EXPECT_GT(ToneLevel(out, 0, hz), present) << hz;
    for (double hz : {500, 1300, 60}) EXPECT_LT(ToneLevel(out, 0, hz), absent) << hz;
    for (double hz : {500, 700, 1300}) EXPECT_GT(ToneLevel(out, 1, hz), present) << hz;
    for (double hz : {300, 1100, 60}) EXPECT_LT(ToneLevel(out, 1, hz), absent) << hz;
    // The centre and the surrounds 3 dB below the front.
    EXPECT_NEAR(ToneLevel(out, 0, 700) / ToneLevel(out, 0, 300), std::sqrt(0.5), 0.03);
    float peak = 0;
    for (float x : out.samples) peak = std::max(peak, std::abs(x));
    EXPECT_LT(peak, 1.0f);

    ASSERT_EQ(Encode(Track("tones_51"), "-m m -h --cbr -b 192").status, 0);
    const Decoded mono = Decode(mp3);
    for (double hz : {300, 500, 700, 1100, 1300}) EXPECT_GT(ToneLevel(mono, 0, hz), 0.1) << hz;
}

// The job runner copies the MP3 frames into the AVI as they are, so a decoder that skips
// nothing must find every sound where it is in the track.
TEST_F(Transcoder, TheFramesAsTheyAreKeepTheTracksTiming) {
    const auto onset = [](const Decoded& d) {
        for (size_t i = 0; i < d.samples.size(); ++i)
            if (std::abs(d.samples[i]) > 0.1f) return long(i / size_t(d.channels));
        return -1L;
    };
    const std::string click = Track("click");
    const long at = onset(Decode(click));
    ASSERT_EQ(Encode(click, "-h -alt-preset 128").status, 0);
    EXPECT_NEAR(onset(Decode(mp3, "-flags2 +skip_manual")), at, 2);
    // At 80 kbit/s the encoder wants 32 kHz: the resampled track keeps its timing too.
    ASSERT_EQ(Encode(click, "-h -alt-preset 80").status, 0);
    ASSERT_EQ(Probe(mp3, "stream=sample_rate"), "32000");
    EXPECT_NEAR(onset(Decode(mp3, "-flags2 +skip_manual")), at * 2 / 3, 2);
}

TEST_F(Transcoder, DamageInTheMiddleBecomesSilenceOfItsLength) {
    const size_t length = Decode(Track("noise_20")).Frames();
    for (const char* track : {"damaged_body", "damaged_sync"}) {
        SCOPED_TRACE(track);
        const RunResult r = Encode(Track(track), "-h -alt-preset 128");
        ASSERT_EQ(r.status, 0) << r.errors;
        EXPECT_NE(r.errors.find("damaged frame at byte"), std::string::npos) << r.errors;
        EXPECT_NE(testing_support::ReadAll(log).find("of silence in place of damage"),
                  std::string::npos);
        EXPECT_LE(std::abs(double(Decode(mp3).Frames()) - double(length)), 1152);
    }
}

TEST_F(Transcoder, RefusedRunsSayWhyAndLeaveNoMp3) {
    const std::string wav =
        dir.Write("bad header.wav", std::string("RIFF\x24\0\0\0WAVEfmt \x10\0\0\0"
                                                "\x01\0\0\0\x80\xbb\0\0",
                                                28) +
                                        std::string(64, '\0'));
    const std::string lame = "-h -alt-preset 128";
    const struct {
        std::string line, says;
    } cases[] = {
        {CommandLine(dir.File("missing.ac3"), mp3, log, lame), "does not exist"},
        {CommandLine(dir.Write("empty.ac3", ""), mp3, log, lame), "is empty"},
        {CommandLine(dir.Write("text.ac3", "no audio here\n"), mp3, log, lame), "not audio"},
        {CommandLine(wav, mp3, log, lame),
         "bad header.wav: a WAV file whose header cannot be read"},
        {CommandLine(Track("ac3_20"), dir.File("no folder/x.mp3"), log, lame), "cannot be written"},
        {TranscoderPath() + " -core( -input \"" + Track("ac3_20") + "\" -output \"" + mp3 + "\" )",
         "no -lame( ) group"},
        {CommandLine(Track("ac3_20"), mp3, log, "-h -alt-preset"), "needs a value"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const RunResult r = RunLine(c.line);
        EXPECT_NE(r.status, 0);
        EXPECT_NE(r.errors.find(c.says), std::string::npos) << r.errors;
        EXPECT_FALSE(std::filesystem::exists(mp3));
        for (const std::string& name : Leftovers())
            EXPECT_EQ(name.find(".mp3."), std::string::npos) << name;
    }
}

}  // namespace
