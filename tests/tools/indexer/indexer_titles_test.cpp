// The installed indexer on every generated title, judged by ffprobe and ffmpeg: per-picture
// flags and the planner's frame count, the FILM share, the demultiplexed audio and its delay.
#include <algorithm>
#include <cmath>
#include <map>

#include "IndexerRun.h"
#include "encoder/TextFiles.h"
#include "encoder/rules/IndexLines.h"
#include "media/IndexFile.h"
#include "platform/files.h"
#include "support/TestEnv.h"
#include "util/utils.h"

namespace {

using namespace indexer_test;

struct Title {
    const char* vob;  // below the titles' folder
    const char* kind;
};
const Title kTitles[] = {
    {"pal_wide/rip/VTS_01_1.VOB", "pal"},       {"ntsc_sets/rip/VTS_01_1.VOB", "video"},
    {"ntsc_sets/rip/VTS_02_1.VOB", "video"},    {"ntsc_film/rip/VTS_01_1.VOB", "film"},
    {"ntsc_hybrid/rip/VTS_01_1.VOB", "hybrid"}, {"ntsc_hybrid/rip/VTS_02_1.VOB", "video"},
};

// The index's pictures in display order, written as ProbedFrames writes ffprobe's.
std::vector<std::string> IndexedFrames(const media::IndexFile& index) {
    std::vector<media::IndexPicture> coded;
    for (const auto& entry : index.video.entries)
        coded.insert(coded.end(), entry.pictures.begin(), entry.pictures.end());
    std::vector<std::string> frames;
    for (const int64_t i : media::DisplayOrder(index.video)) {
        const media::IndexPicture& p = coded[static_cast<size_t>(i)];
        frames.push_back(std::string(1, " IPB"[p.Type()]) + " t" + (p.TopFieldFirst() ? "1" : "0") +
                         " r" + (p.RepeatFirstField() ? "1" : "0") + " p" +
                         (p.ProgressiveFrame() ? "1" : "0"));
    }
    return frames;
}

TEST(IndexerTitles, PicturesFlagsCountAndFilmShareAgreeWithFfprobe) {
    INDEXER_TITLES(titles);
    testing_support::TempDir out;
    for (const Title& title : kTitles) {
        SCOPED_TRACE(title.vob);
        const std::string vob = titles + "/" + title.vob;
        const IndexerRun run = RunIndexer(vob, out.File("film"));
        ASSERT_EQ(run.status, 0) << run.errors;
        EXPECT_EQ(run.errors, "");
        const std::vector<std::string> probed = ProbedFrames(vob);
        EXPECT_EQ(IndexedFrames(media::ReadIndexFile(out.File("film.d2v"))), probed);

        // What the planner reads from the same file.
        const TIndexLines lines = LoadTextLines(out.File("film.d2v"));
        EXPECT_EQ(CountIndexFrames(lines, "film.d2v"), ProbedPictureCount(vob));
        const double film = FilmPercentOf(lines, "film.d2v");
        const std::string kind = title.kind;
        if (kind == "film") {
            EXPECT_GT(film, 99);
        } else if (kind == "pal" || kind == "video") {
            EXPECT_EQ(film, 0);
        }
        if (kind == "hybrid") {  // its film pictures are its progressive ones
            const double progressive = std::count_if(probed.begin(), probed.end(),
                                                     [](auto& f) { return f.back() == '1'; });
            EXPECT_NEAR(film, 100 * progressive / static_cast<double>(probed.size()), 1.0);
        }
    }
}

TEST(IndexerTitles, AudioIsCopiedBitExactAndLpcmDecodedAsFfmpegDoes) {
    INDEXER_TITLES(titles);
    testing_support::TempDir out;
    const std::string vob = titles + "/pal_wide/rip/VTS_01_1.VOB";
    struct Track {
        int number, method;
        const char* copy;  // ffmpeg's output format for it
    };
    for (const Track& t : {Track{1, 1, "ac3"}, Track{2, 1, "mp2"}, Track{3, 3, "s16le"}}) {
        SCOPED_TRACE(t.number);
        const std::string base = out.File("t" + std::to_string(t.number));
        ASSERT_EQ(RunIndexer(vob, base, t.number, t.method).status, 0);
        const std::string file =
            OnlyFileStartingWith(out.Path(), "t" + std::to_string(t.number) + " T0");
        ASSERT_FALSE(file.empty());
        const std::string reference = out.File("reference");
        const std::string codec = t.method == 3 ? "" : " -c copy";
        Output("ffmpeg -v error -y -i " + Quoted(vob) + " -map 0:a:" +
               std::to_string(t.number - 1) + codec + " -f " + t.copy + " " + Quoted(reference));
        std::string ours = ReadFile(file);
        if (t.method == 3) {
            EXPECT_EQ(
                Output("ffprobe -v error -show_entries stream=codec_name,channels,sample_rate "
                       "-of csv=p=0 " +
                       Quoted(file)),
                "pcm_s16le,48000,2\n");
            ours = ours.substr(44);  // the samples after the WAV header
        }
        EXPECT_GT(ours.size(), 10000u);
        EXPECT_TRUE(ours == ReadFile(reference)) << file;
    }
}

TEST(IndexerTitles, TheDelayInTheNameIsTheStreamsStartDifference) {
    INDEXER_TITLES(titles);
    testing_support::TempDir out;
    std::map<std::string, int32_t> delays;
    for (const char* vob : {"ntsc_film/rip/VTS_01_1.VOB", "pal_wide/rip/VTS_01_1.VOB",
                            "ntsc_hybrid/rip/VTS_01_1.VOB"}) {
        SCOPED_TRACE(vob);
        const std::string path = titles + "/" + vob,
                          folder = out.File(std::to_string(delays.size()));
        ASSERT_TRUE(platform::ForceDirectories(folder));
        ASSERT_EQ(RunIndexer(path, folder + "/film", 1, 1).status, 0);
        const std::string file = OnlyFileStartingWith(folder, "film T01 ");
        const double offset = ProbedStartTime(path, "a:0") - ProbedStartTime(path, "v:0");
        delays[vob] = AudioDelayOf(file);
        EXPECT_EQ(delays[vob], std::lround(offset * 1000)) << file;
    }
    // The film title is multiplexed with its audio 120 ms ahead of the video.
    EXPECT_EQ(delays["ntsc_film/rip/VTS_01_1.VOB"], -120);
}

}  // namespace
