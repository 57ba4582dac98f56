// Every frame mpeg2source serves on the generated titles equals ffmpeg's decode of the same VOB
// (with repeated fields applied where the field operation applies them), whatever the order of
// asking, in the number the planner counts from the index.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "DecoderRun.h"
#include "support/TestEnv.h"

namespace {

using namespace decoder_test;

struct TitleCase {
    const char* name;
    const char* vob;
    int fieldOperation;
    // ffmpeg's filter that gives the same frames: repeatfields weaves the pulldown fields of a
    // title that starts top field first; titles without repeated fields are the coded frames;
    // fields paired one later are woven again after the first is dropped (which leaves out
    // the last frame, served whole here).
    const char* filter;
    bool pal = false;
};

class Titles : public testing::TestWithParam<TitleCase> {};

TEST_P(Titles, FramesEqualFfmpegsDecodeInAnyOrder) {
    DECODER_TITLES(titles);
    const TitleCase& c = GetParam();
    testing_support::TempDir dir;
    const std::string vob = titles + "/" + c.vob;
    std::string d2v = IndexTitle(vob, dir.File("title"));
    if (c.fieldOperation) d2v = WithFieldOperation(d2v, c.fieldOperation);
    Source source = OpenSource(d2v);
    ASSERT_EQ(source.error, "");
    const fsrv::VideoInfo info = source.clip->Info();
    EXPECT_EQ(info.frameCount, PlannerFrameCount(d2v, c.fieldOperation, c.pal));
    const std::vector<uint64_t> ours = ServeInOrder(*source.clip);
    const std::vector<uint64_t> ffmpeg = FfmpegChecksums(vob, c.filter, info.width, info.height);
    ASSERT_EQ(ffmpeg.size(), ours.size() - (c.fieldOperation == 2 ? 1 : 0));
    for (size_t n = 0; n < ffmpeg.size(); ++n) ASSERT_EQ(ours[n], ffmpeg[n]) << "frame " << n;
    // A new source, so that nothing is served from the frame cache of the first.
    Source again = OpenSource(d2v);
    EXPECT_EQ(ServeShuffled(*again.clip), ours);
}

INSTANTIATE_TEST_SUITE_P(
    Decoder, Titles,
    testing::Values(TitleCase{"FilmPulldown", "ntsc_film/rip/VTS_01_1.VOB", 0, "repeatfields"},
                    TitleCase{"FilmForced", "ntsc_film/rip/VTS_01_1.VOB", 1, "null"},
                    TitleCase{"Hybrid", "ntsc_hybrid/rip/VTS_01_1.VOB", 0, "repeatfields"},
                    TitleCase{"NtscVideo", "ntsc_sets/rip/VTS_02_1.VOB", 0, "null"},
                    TitleCase{"Pal", "pal_wide/rip/VTS_01_1.VOB", 0, "null", true},
                    TitleCase{"PalShifted", "pal_shifted/rip/VTS_01_1.VOB", 0, "null", true},
                    TitleCase{"PalSwapped", "pal_shifted/rip/VTS_01_1.VOB", 2,
                              "separatefields,select=gte(n\\,1),weave=first_field=top", true}),
    [](const testing::TestParamInfo<TitleCase>& info) { return std::string(info.param.name); });

// Frame rate and parity: forced FILM serves 23.976 with each coded picture's own field order
// (as ffprobe reads it); with pulldown applied the woven frames of a cadence that starts top
// field first all start with the top field.
TEST(Decoder, FilmRateAndParity) {
    DECODER_TITLES(titles);
    testing_support::TempDir dir;
    const std::string vob = titles + "/ntsc_film/rip/VTS_01_1.VOB";
    const std::string d2v = IndexTitle(vob, dir.File("film"));
    Source film = OpenSource(WithFieldOperation(d2v, 1));
    ASSERT_EQ(film.error, "");
    EXPECT_EQ(film.clip->Info().fpsNumerator, 24000u);
    EXPECT_EQ(film.clip->Info().fpsDenominator, 1001u);
    std::istringstream probed(
        Shell("ffprobe -v error -select_streams v:0 -show_entries "
              "frame=top_field_first -of csv=p=0 " +
              Quoted(vob)));
    int n = 0;
    for (std::string line; std::getline(probed, line);) {
        if (line.empty() || (line[0] != '0' && line[0] != '1')) continue;
        EXPECT_EQ(film.clip->GetParity(n), line[0] == '1') << n;
        ++n;
    }
    EXPECT_EQ(n, film.clip->Info().frameCount);

    Source pulldown = OpenSource(d2v);
    EXPECT_EQ(pulldown.clip->Info().fpsNumerator, 30000u);
    for (int f = 0; f < pulldown.clip->Info().frameCount; ++f)
        EXPECT_TRUE(pulldown.clip->GetParity(f)) << f;
}

// A title in two VOB files, as a ripper cuts them, in a folder with a blank and a letter beyond
// ASCII in its name: entries in the second file and a GOP across the cut serve as in one file.
TEST(Decoder, TitleOverTwoVobFiles) {
    DECODER_TITLES(titles);
    testing_support::TempDir dir;
    const std::string whole = titles + "/ntsc_hybrid/rip/VTS_01_1.VOB";
    const std::string folder = dir.File("My DVD é");
    std::filesystem::create_directories(folder);
    std::ifstream in(whole, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const size_t cut = bytes.size() / 2 / 2048 * 2048;
    std::ofstream(folder + "/VTS_01_1.VOB", std::ios::binary) << bytes.substr(0, cut);
    std::ofstream(folder + "/VTS_01_2.VOB", std::ios::binary) << bytes.substr(cut);
    const std::string d2v = IndexTitle(folder + "/VTS_01_1.VOB", folder + "/title");
    Source source = OpenSource(d2v);
    ASSERT_EQ(source.error, "");
    const std::vector<uint64_t> ffmpeg = FfmpegChecksums(whole, "repeatfields", 720, 480);
    EXPECT_EQ(ServeInOrder(*source.clip), ffmpeg);
    Source again = OpenSource(d2v);
    EXPECT_EQ(ServeShuffled(*again.clip), ffmpeg);
}

// Share of the luma samples that stand out from both vertical neighbours the same way: the
// teeth of a comb, where the two fields of a frame show different moments.
double CombShare(const fsrv::Frame& f) {
    int64_t combed = 0;
    const int pitch = f.Pitch(fsrv::kY);
    for (int y = 1; y + 1 < f.Height(fsrv::kY); ++y) {
        const uint8_t* row = f.Data(fsrv::kY) + size_t(y) * pitch;
        for (int x = 0; x < f.Width(fsrv::kY); ++x)
            combed += (row[x - pitch] - row[x]) * (row[x + pitch] - row[x]) > 400;
    }
    return double(combed) / (double(f.Width(fsrv::kY)) * (f.Height(fsrv::kY) - 2));
}

double MeanCombShare(fsrv::Clip& clip) {
    double sum = 0;
    for (int n = 0; n < clip.Info().frameCount; ++n) sum += CombShare(*clip.GetFrame(n));
    return sum / clip.Info().frameCount;
}

// PAL film one field out of phase: combed as coded, whole with the fields paired one later.
TEST(Decoder, SwappedOrderMakesShiftedFilmWhole) {
    DECODER_TITLES(titles);
    testing_support::TempDir dir;
    const std::string d2v = IndexTitle(titles + "/pal_shifted/rip/VTS_01_1.VOB", dir.File("pal"));
    Source coded = OpenSource(d2v);
    Source swapped = OpenSource(WithFieldOperation(d2v, 2));
    ASSERT_EQ(coded.error + swapped.error, "");
    const double combed = MeanCombShare(*coded.clip), whole = MeanCombShare(*swapped.clip);
    EXPECT_GT(combed, 0.02);
    EXPECT_LT(whole, combed / 10) << combed;
}

}  // namespace
