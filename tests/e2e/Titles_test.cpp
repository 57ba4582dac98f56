// Each kind of title converted whole by the installed programs, as a user's command line asks,
// and the AVI judged by ffprobe and ffmpeg: its streams and rate, every frame there once, the
// picture as the source's kind needs it, its size against the target, and flash and beep
// together at its start and end.
#include <filesystem>
#include <numeric>
#include <regex>

#include "Conversion.h"

namespace {

using namespace e2e_test;

constexpr double kFilmFrame = 1001.0 / 24000;
constexpr double kPalFrame = 0.04;

// 0, 1, 2, ... `count` - 1: every frame of the source once, in order.
std::vector<int> Every(int count) {
    std::vector<int> frames(size_t(count), 0);
    std::iota(frames.begin(), frames.end(), 0);
    return frames;
}

class Conversions : public E2eTest {};

TEST_F(Conversions, NtscFilmKeepsEveryFilmFrameAndBothTracksWithTheirNames) {
    const Conversion c =
        Convert("film", "film", {"--size", "3", "--audio-mode", "ac3", "--audio2", "2"});
    ASSERT_EQ(c.Run.status, 0) << c.Run.output;
    EXPECT_NE(c.JobLog().find("Source seems to be pure FILM."), std::string::npos);
    EXPECT_EQ(Probe(c.Avi, "stream=codec_name,channels"), "mpeg4|ac3|6|mp2|2");
    EXPECT_EQ(Probe(c.Avi, "stream=r_frame_rate -select_streams v:0"), "24000/1001");
    EXPECT_EQ(Probe(c.Avi, "format_tags=IAS1,IAS2"), "English|Français");
    EXPECT_EQ(Counters(c.Avi), Every(264));
    EXPECT_EQ(testing_support::DecodeProblems(c.Avi), "");
    ExpectSize({c.Avi}, 3);
    ExpectInSync(c.Avi, 2, kFilmFrame);
}

TEST_F(Conversions, PalInterlacedIsDeinterlacedWithDivXAndExternalSubtitles) {
    const Conversion c = Convert("interlaced", "video",
                                 {"--size", "3", "--codec", "divx", "--audio-mode", "cbr", "--subs",
                                  "1", "--external-subs"});
    ASSERT_EQ(c.Run.status, 0) << c.Run.output;
    EXPECT_EQ(Probe(c.Avi, "stream=codec_name,codec_tag_string"), "mpeg4|DX50|mp3|U[0][0][0]");
    EXPECT_EQ(Probe(c.Avi, "stream=r_frame_rate -select_streams v:0"), "25/1");
    // The detector sees the source's weave, and no weave left in the AVI.
    const Fields source = DetectFields(TitleFolder(media_, "interlaced") + "/VTS_01_1.VOB");
    EXPECT_GT(source.Interlaced, 9 * source.Progressive);
    const Fields avi = DetectFields(c.Avi);
    EXPECT_GT(avi.Progressive, 9 * avi.Interlaced);
    EXPECT_EQ(Counters(c.Avi), Every(250));
    ExpectInSync(c.Avi, 1, kPalFrame);

    // The subtitles beside it: the index, and the bitmaps packed, read by ffmpeg's VobSub
    // reader once unpacked beside it: the one caption, at its time.
    const std::string idx = c.Avi.substr(0, c.Avi.size() - 4) + ".idx";
    const std::string rar = c.Avi.substr(0, c.Avi.size() - 4) + ".rar";
    ExpectSize({c.Avi, idx, rar}, 3);
    const std::string unpacked = dir_.File("unpacked");
    std::filesystem::create_directories(unpacked);
    std::filesystem::copy_file(idx, unpacked + "/video.idx");
    const ProgramRun unrar = Shell("bsdtar -xf " + Quoted(rar) + " -C " + Quoted(unpacked));
    ASSERT_EQ(unrar.status, 0) << unrar.output;
    EXPECT_EQ(Probe(unpacked + "/video.idx", "stream=codec_name"), "dvd_subtitle");
    const std::string times = Probe(unpacked + "/video.idx", "packet=pts_time");
    ASSERT_FALSE(times.empty());
    EXPECT_EQ(times.find('|'), std::string::npos) << times;
    EXPECT_NEAR(std::stod(times), 1.5, 0.05);
}

TEST_F(Conversions, LetterboxedPalWithLpcmTracksIsCroppedAndKeepsItsAspect) {
    // Both LPCM tracks are asked for as they are (AC3 coding): the first and the second are
    // encoded to MP3, since an AVI cannot carry them.
    const Conversion c =
        Convert("letterbox", "letterbox", {"--size", "2", "--audio-mode", "ac3", "--audio2", "2"});
    ASSERT_EQ(c.Run.status, 0) << c.Run.output;
    EXPECT_EQ(Probe(c.Avi, "stream=codec_name"), "mpeg4|mp3|mp3");
    for (double top : {0.0, 0.98}) {
        SCOPED_TRACE(top);
        for (const auto& frame : Band(c.Avi, 0, top, 1, 0.02))
            ASSERT_GT(frame.Mean, 40) << "a black bar at " << frame.Seconds << " s";
    }
    const std::vector<double> flashes = testing_support::Flashes(c.Avi);
    ASSERT_FALSE(flashes.empty());
    EXPECT_NEAR(SquareAspect(c.Avi, flashes.front() + kPalFrame), 1.0, 0.02);
    EXPECT_EQ(Counters(c.Avi), Every(250));
    ExpectSize({c.Avi}, 2);
    ExpectInSync(c.Avi, 2, kPalFrame);
}

TEST_F(Conversions, NtscHybridHasTheFrameCountThePlannerFound) {
    const Conversion c = Convert("hybrid", "hybrid", {"--size", "3"});
    ASSERT_EQ(c.Run.status, 0) << c.Run.output;
    const std::string log = c.JobLog();
    EXPECT_NE(log.find("Source is considered to be hybrid"), std::string::npos) << log;
    std::smatch found;
    ASSERT_TRUE(std::regex_search(log, found, std::regex(R"(\] Found (\d+) frames)")));
    const std::string frames = found[1];
    EXPECT_EQ(Probe(c.Avi, "stream=nb_frames -select_streams v:0"), frames);
    EXPECT_EQ(Probe(c.Avi, "stream=nb_read_frames -count_frames -select_streams v:0"), frames);
    EXPECT_EQ(testing_support::DecodeProblems(c.Avi), "");
    ExpectSize({c.Avi}, 3);
    const bool film = Probe(c.Avi, "stream=r_frame_rate -select_streams v:0") == "24000/1001";
    ExpectInSync(c.Avi, 1, film ? kFilmFrame : 1001.0 / 30000);
}

TEST_F(Conversions, QualityModeRunsOnePassWithTheSubtitlesDrawnIn) {
    const Conversion c = Convert("interlaced", "quality", {"--quality", "80", "--subs", "1"});
    ASSERT_EQ(c.Run.status, 0) << c.Run.output;
    const std::string log = c.JobLog();
    EXPECT_NE(log.find("Running single pass encoding."), std::string::npos);
    EXPECT_EQ(log.find("Running first pass."), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir_.File("quality/quality.idx")));
    // The caption (white in a black band across the lower picture) from 1.5 s to 3.5 s.
    const auto band = Band(c.Avi, 0.3, 0.86, 0.4, 0.03);
    ASSERT_EQ(band.size(), 250u);
    for (const auto& frame : band) {
        if (frame.Seconds > 1.55 && frame.Seconds < 3.45) {
            EXPECT_GT(frame.Mean, 160) << "no caption at " << frame.Seconds << " s";
        } else if (frame.Seconds < 1.45 || frame.Seconds > 3.55) {
            EXPECT_LT(frame.Mean, 60) << "a caption at " << frame.Seconds << " s";
        }
    }
    EXPECT_EQ(testing_support::DecodeProblems(c.Avi), "");
    ExpectInSync(c.Avi, 1, kPalFrame);
}

}  // namespace
