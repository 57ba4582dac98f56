// Every frame mpeg2source serves on the generated titles equals ffmpeg's decode of the same VOB
// (with the fields re-paired as the field operation pairs them), whatever the order of asking,
// at the index's rate and in the number the planner counts from the index.
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
    // ffmpeg's filter giving the same frames: repeatfields weaves the pulldown of a title that
    // starts top field first; fields paired one later are woven again after the first is dropped
    // (which leaves out the last frame, served whole here).
    const char* filter;
    unsigned fps;
    bool split = false;  // cut over two VOB files in a folder named with a blank and an "é"
};

// The VOB as a ripper leaves a long title: VTS_01_1.VOB and VTS_01_2.VOB, cut at a pack.
std::string SplitCopy(const std::string& vob, const std::string& folder) {
    std::filesystem::create_directories(folder);
    std::ifstream in(vob, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const size_t cut = bytes.size() / 2 / 2048 * 2048;
    std::ofstream(folder + "/VTS_01_1.VOB", std::ios::binary) << bytes.substr(0, cut);
    std::ofstream(folder + "/VTS_01_2.VOB", std::ios::binary) << bytes.substr(cut);
    return folder + "/VTS_01_1.VOB";
}

class Titles : public testing::TestWithParam<TitleCase> {};

TEST_P(Titles, FramesEqualFfmpegsDecodeInAnyOrder) {
    DECODER_TITLES(titles);
    const TitleCase& c = GetParam();
    testing_support::TempDir dir;
    const std::string vob = titles + "/" + c.vob;
    const std::string served = c.split ? SplitCopy(vob, dir.File("My DVD é")) : vob;
    std::string d2v = IndexTitle(served, dir.File("title"));
    if (c.fieldOperation) d2v = WithFieldOperation(d2v, c.fieldOperation);
    Source source = OpenSource(d2v);
    ASSERT_EQ(source.error, "");
    const fsrv::VideoInfo info = source.clip->Info();
    EXPECT_EQ(info.fpsNumerator, c.fps);
    EXPECT_EQ(info.frameCount, PlannerFrameCount(d2v, c.fieldOperation, c.fps == 25));
    const std::vector<uint64_t> ours = ServeInOrder(*source.clip);
    const std::vector<uint64_t> ffmpeg = FfmpegChecksums(vob, c.filter, info.width, info.height);
    ASSERT_EQ(ffmpeg.size(), ours.size() - (c.fieldOperation == 2 ? 1 : 0));
    for (size_t n = 0; n < ffmpeg.size(); ++n) ASSERT_EQ(ours[n], ffmpeg[n]) << "frame " << n;
    Source again = OpenSource(d2v);  // nothing from the first one's frame cache
    EXPECT_EQ(ServeShuffled(*again.clip), ours);
}

INSTANTIATE_TEST_SUITE_P(
    Decoder, Titles,
    testing::Values(TitleCase{"FilmPulldown", "ntsc_film/rip/VTS_01_1.VOB", 0, "repeatfields",
                              30000},
                    TitleCase{"FilmForced", "ntsc_film/rip/VTS_01_1.VOB", 1, "null", 24000},
                    TitleCase{"Hybrid", "ntsc_hybrid/rip/VTS_01_1.VOB", 0, "repeatfields", 30000},
                    TitleCase{"HybridOverTwoFiles", "ntsc_hybrid/rip/VTS_01_1.VOB", 0,
                              "repeatfields", 30000, true},
                    TitleCase{"NtscVideo", "ntsc_sets/rip/VTS_02_1.VOB", 0, "null", 30000},
                    TitleCase{"Pal", "pal_wide/rip/VTS_01_1.VOB", 0, "null", 25},
                    TitleCase{"PalShifted", "pal_shifted/rip/VTS_01_1.VOB", 0, "null", 25},
                    TitleCase{"PalSwapped", "pal_shifted/rip/VTS_01_1.VOB", 2,
                              "separatefields,select=gte(n\\,1),weave=first_field=top", 25}),
    [](const testing::TestParamInfo<TitleCase>& info) { return std::string(info.param.name); });

// Forced FILM gives each frame its coded picture's field order, as ffprobe reads it.
TEST(Decoder, ForcedFilmParityIsThePictures) {
    DECODER_TITLES(titles);
    testing_support::TempDir dir;
    const std::string vob = titles + "/ntsc_film/rip/VTS_01_1.VOB";
    Source film = OpenSource(WithFieldOperation(IndexTitle(vob, dir.File("film")), 1));
    ASSERT_EQ(film.error, "");
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
}

// Share of the luma samples standing out from both vertical neighbours the same way: the teeth
// of a comb, where the two fields of a frame show different moments.
double MeanCombShare(fsrv::Clip& clip) {
    int64_t combed = 0, all = 0;
    for (int n = 0; n < clip.Info().frameCount; ++n) {
        const fsrv::FramePtr f = clip.GetFrame(n);
        const int pitch = f->Pitch(fsrv::kY);
        for (int y = 1; y + 1 < f->Height(fsrv::kY); ++y, all += f->Width(fsrv::kY)) {
            const uint8_t* row = f->Data(fsrv::kY) + size_t(y) * pitch;
            for (int x = 0; x < f->Width(fsrv::kY); ++x)
                combed += (row[x - pitch] - row[x]) * (row[x + pitch] - row[x]) > 400;
        }
    }
    return double(combed) / double(all);
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
