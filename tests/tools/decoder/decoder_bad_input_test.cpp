// Bad input: an index that is missing, damaged or names a missing VOB is a script error naming
// the file; a VOB shorter than its index or damaged in the middle is served without an error,
// the same in any order, with what cannot be decoded replaced and said once.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "DecoderRun.h"
#include "media/IndexFile.h"
#include "support/TestEnv.h"

namespace {

using namespace decoder_test;
namespace fs = std::filesystem;

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    const size_t at = text.find(from);
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

TEST(DecoderBadInput, BrokenIndexesAreScriptErrorsNamingTheFile) {
    DECODER_TITLES(titles);
    testing_support::TempDir dir;
    const std::string vob = titles + "/pal_wide/rip/VTS_01_1.VOB";
    const std::string good = testing_support::ReadAll(IndexTitle(vob, dir.File("good")));
    const struct {
        std::string name, text, error;
    } cases[] = {
        {"cut.d2v", good.substr(0, good.size() / 2), "is damaged at line"},
        {"other.d2v", "SomeOtherIndex 7\r\n", "is damaged at line 1: it is not an index"},
        {"gone.d2v", Replace(good, vob, dir.File("gone.VOB")),
         "Cannot open " + dir.File("gone.VOB")},
        {"fo.d2v", Replace(good, "Field_Operation=0", "Field_Operation=7"), "Field_Operation=7"},
        {"empty.d2v", "", "is damaged at line 0"},
    };
    for (const auto& c : cases) {
        const std::string path = dir.Write(c.name, c.text);
        const Source source = OpenSource(path);
        EXPECT_EQ(source.error.rfind("t.avs, line 2: mpeg2source: ", 0), 0u) << source.error;
        EXPECT_NE(source.error.find(c.error), std::string::npos) << source.error;
    }
    const std::string missing = dir.File("missing.d2v");
    EXPECT_NE(OpenSource(missing).error.find("the index " + missing + " cannot be read"),
              std::string::npos);
}

// The VOB ends where the index's third entry begins: the pictures before it are served as
// decoded, the last of them in place of every later one, and the warning comes once.
TEST(DecoderBadInput, ShortVobRepeatsTheLastGoodPicture) {
    DECODER_TITLES(titles);
    testing_support::TempDir dir;
    fs::copy_file(titles + "/ntsc_film/rip/VTS_01_1.VOB", dir.File("VTS_01_1.VOB"));
    const std::string d2v =
        WithFieldOperation(IndexTitle(dir.File("VTS_01_1.VOB"), dir.File("f")), 1);
    const media::IndexFile index = media::ReadIndexFile(d2v);
    ASSERT_GE(index.video.entries.size(), 3u);
    Source intact = OpenSource(d2v);
    const std::vector<uint64_t> whole = ServeInOrder(*intact.clip);
    fs::resize_file(dir.File("VTS_01_1.VOB"), uint64_t(index.video.entries[2].position.offset));
    const size_t kept =
        index.video.entries[0].pictures.size() + index.video.entries[1].pictures.size();

    Source cut = OpenSource(d2v);
    ASSERT_EQ(cut.error, "");
    testing::internal::CaptureStderr();
    const std::vector<uint64_t> served = ServeInOrder(*cut.clip);
    Source again = OpenSource(d2v);
    const std::vector<uint64_t> shuffled = ServeShuffled(*again.clip);
    const std::string warnings = testing::internal::GetCapturedStderr();
    ASSERT_EQ(served.size(), whole.size());
    for (size_t n = 0; n < served.size(); ++n)
        EXPECT_EQ(served[n], whole[std::min(n, kept - 1)]) << n;
    EXPECT_EQ(shuffled, served);
    const std::string said =
        "the VOB files end before the video the index lists: " + std::to_string(kept) +
        " of its 48 pictures decode";
    const size_t first = warnings.find(said);
    EXPECT_NE(first, std::string::npos) << warnings;
    EXPECT_NE(warnings.find(said, first + 1), std::string::npos);  // once for each source
    EXPECT_EQ(warnings.find(said, warnings.find(said, first + 1) + 1), std::string::npos);
    // The plugin clamps frame numbers, so that a filter may ask for n-1 at frame 0.
    EXPECT_EQ(Checksum(*cut.clip->GetFrame(-3)), served.front());
    EXPECT_EQ(Checksum(*cut.clip->GetFrame(int(served.size()) + 3)), served.back());
}

// Zeros over 48 KB in the middle: the reader resynchronises and warns, the decoder conceals, and
// whatever the order of asking only the frames around the damage differ from the intact title's.
TEST(DecoderBadInput, DamageInTheMiddleCostsOnlyTheFramesAroundIt) {
    DECODER_TITLES(titles);
    testing_support::TempDir dir;
    const std::string vob = dir.File("VTS_01_1.VOB");
    fs::copy_file(titles + "/ntsc_hybrid/rip/VTS_01_1.VOB", vob);
    const std::string d2v = IndexTitle(vob, dir.File("h"));
    Source intact = OpenSource(d2v);
    const std::vector<uint64_t> whole = ServeInOrder(*intact.clip);
    {
        std::fstream file(vob, std::ios::in | std::ios::out | std::ios::binary);
        file.seekp(std::streamoff(fs::file_size(vob) / 2));
        const std::string zeros(48 << 10, '\0');
        file.write(zeros.data(), std::streamsize(zeros.size()));
    }
    testing::internal::CaptureStderr();
    Source inOrder = OpenSource(d2v), shuffled = OpenSource(d2v);
    for (const auto& served : {ServeInOrder(*inOrder.clip), ServeShuffled(*shuffled.clip)}) {
        ASSERT_EQ(served.size(), whole.size());
        size_t differing = 0;
        for (size_t n = 0; n < served.size(); ++n) {
            differing += served[n] != whole[n];
            if (n < 20 || n + 10 >= served.size()) {
                EXPECT_EQ(served[n], whole[n]) << n;
            }
        }
        EXPECT_LT(differing, 30u);
    }
    EXPECT_NE(testing::internal::GetCapturedStderr().find(vob), std::string::npos);
}

}  // namespace
