// The installed indexer on damaged and awkward input: a clear message naming the file, nothing
// half-written under a final name, and whatever can be indexed indexed.
#include <sys/mount.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "IndexerRun.h"
#include "media/IndexFile.h"
#include "media/VobSequence.h"
#include "platform/files.h"
#include "support/TestEnv.h"

namespace {

using namespace indexer_test;

std::string PalVob(const std::string& titles) {
    return titles + "/pal_wide/rip/VTS_01_1.VOB";
}

void Write(const std::string& path, const std::string& bytes) {
    ASSERT_TRUE(platform::ForceDirectories(std::filesystem::path(path).parent_path().string()));
    std::ofstream(path, std::ios::binary) << bytes;
}

std::vector<std::string> Names(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// Every picture's flags, and where each entry starts as one offset over all files.
std::string Summary(const std::string& index) {
    const media::IndexFile file = media::ReadIndexFile(index);
    const media::VobSequence files(file.files);
    std::string text;
    for (const media::IndexEntry& e : file.video.entries) {
        text += std::to_string(files.OffsetOf(e.position)) + "+" + std::to_string(e.skip) + ":";
        for (const media::IndexPicture& p : e.pictures) text += std::to_string(p.flags) + ",";
        text += "\n";
    }
    return text;
}

// A tmpfs mounted for the test (read-only, or of a small size); skips when mounting is not
// allowed here.
class ScopedTmpfs {
  public:
    ScopedTmpfs(const std::string& folder, const std::string& options) : folder_(folder) {
        platform::ForceDirectories(folder);
        mounted_ = ::mount("tmpfs", folder.c_str(), "tmpfs", 0, options.c_str()) == 0;
    }
    ~ScopedTmpfs() {
        if (mounted_) ::umount(folder_.c_str());
    }
    bool Mounted() const { return mounted_; }

  private:
    std::string folder_;
    bool mounted_ = false;
};

TEST(IndexerBadInput, FailuresNameTheFileAndLeaveNothingUnderAFinalName) {
    INDEXER_TITLES(titles);
    testing_support::TempDir dir;
    IndexerRun run = RunIndexer(dir.File("dvd/VTS_01_1.VOB"), dir.File("film"));
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.errors.find(dir.File("dvd/VTS_01_1.VOB") + ": No such file"), std::string::npos)
        << run.errors;
    run = RunIndexer(PalVob(titles), dir.File("missing/film"), 1, 1);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.errors.find(dir.File("missing/film.d2v.partial")), std::string::npos);
    EXPECT_TRUE(Names(dir.Path()).empty());

    const ScopedTmpfs readOnly(dir.File("ro"), "ro,size=1m");
    const ScopedTmpfs small(dir.File("full"), "size=64k");
    if (!readOnly.Mounted() || !small.Mounted()) GTEST_SKIP() << "no tmpfs can be mounted here";
    run = RunIndexer(PalVob(titles), dir.File("ro/film"), 1, 1);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.errors.find("Read-only file system"), std::string::npos) << run.errors;
    // The decoded LPCM track is larger than the disk.
    run = RunIndexer(PalVob(titles), dir.File("full/film"), 3, 3);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.errors.find(dir.File("full/film.T03.partial") + ": No space left on device"),
              std::string::npos)
        << run.errors;
    EXPECT_TRUE(Names(dir.File("full")).empty());
}

TEST(IndexerBadInput, BlanksNonAsciiAndASplitSequenceGiveTheSameIndexAndAudio) {
    INDEXER_TITLES(titles);
    testing_support::TempDir dir;
    ASSERT_EQ(RunIndexer(PalVob(titles), dir.File("whole"), 1, 1).status, 0);
    const std::string bytes = ReadFile(PalVob(titles));
    // Cut inside a pack: the two files are one stream.
    Write(dir.File("My DVD ü/VTS_01_1.VOB"), bytes.substr(0, 500001));
    Write(dir.File("My DVD ü/vts_01_2.vob"), bytes.substr(500001));
    ASSERT_TRUE(platform::ForceDirectories(dir.File("out ü")));
    const IndexerRun run =
        RunIndexer(dir.File("My DVD ü/VTS_01_1.VOB"), dir.File("out ü/a  film"), 1, 1);
    ASSERT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(run.errors, "");
    EXPECT_EQ(media::ReadIndexFile(dir.File("out ü/a  film.d2v")).files.size(), 2u);
    EXPECT_EQ(Summary(dir.File("out ü/a  film.d2v")), Summary(dir.File("whole.d2v")));
    EXPECT_TRUE(ReadFile(OnlyFileStartingWith(dir.File("out ü"), "a  film T01 ")) ==
                ReadFile(OnlyFileStartingWith(dir.Path(), "whole T01 ")));
}

TEST(IndexerBadInput, DamageIsSkippedWithAWarningAndTheRestIsIndexed) {
    INDEXER_TITLES(titles);
    testing_support::TempDir dir;
    ASSERT_EQ(RunIndexer(PalVob(titles), dir.File("whole"), 1, 1).status, 0);
    const std::string bytes = ReadFile(PalVob(titles));

    // Garbage between two packs costs nothing but the garbage.
    Write(dir.File("garbage/VTS_01_1.VOB"),
          bytes.substr(0, 204800) + std::string(5000, '\x01') + bytes.substr(204800));
    IndexerRun run = RunIndexer(dir.File("garbage/VTS_01_1.VOB"), dir.File("garbage/film"), 1, 1);
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.errors.find("Skipped 5000 bytes that are not a pack, from " +
                              dir.File("garbage/VTS_01_1.VOB") + " at offset 204800."),
              std::string::npos)
        << run.errors;
    EXPECT_EQ(media::ReadIndexFile(dir.File("garbage/film.d2v")).video.PictureCount(),
              media::ReadIndexFile(dir.File("whole.d2v")).video.PictureCount());
    EXPECT_TRUE(ReadFile(OnlyFileStartingWith(dir.File("garbage"), "film T01 ")) ==
                ReadFile(OnlyFileStartingWith(dir.Path(), "whole T01 ")));

    Write(dir.File("cut/VTS_01_1.VOB"), bytes.substr(0, bytes.size() - 1000));
    run = RunIndexer(dir.File("cut/VTS_01_1.VOB"), dir.File("cut/film"));
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.errors.find("cut short"), std::string::npos) << run.errors;
    EXPECT_GT(media::ReadIndexFile(dir.File("cut/film.d2v")).video.PictureCount(), 70);

    Write(dir.File("gap/VTS_01_1.VOB"), bytes);
    Write(dir.File("gap/VTS_01_3.VOB"), bytes);
    run = RunIndexer(dir.File("gap/VTS_01_1.VOB"), dir.File("gap/film"));
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.errors.find(dir.File("gap/VTS_01_3.VOB") +
                              " and any later VOB files are not read: VTS_01_2.VOB is missing"),
              std::string::npos)
        << run.errors;
    EXPECT_EQ(media::ReadIndexFile(dir.File("gap/film.d2v")).files.size(), 1u);
}

TEST(IndexerBadInput, NoVideoEndsTheRunAndAMissingTrackOnlyItsAudio) {
    INDEXER_TITLES(titles);
    testing_support::TempDir dir;
    std::string bytes = ReadFile(PalVob(titles));
    for (size_t pack = 0; pack + 2048 <= bytes.size(); pack += 2048)  // video becomes padding
        if (bytes[pack + 17] == '\xE0') bytes[pack + 17] = '\xBE';
    Write(dir.File("novideo/VTS_01_1.VOB"), bytes);
    IndexerRun run = RunIndexer(dir.File("novideo/VTS_01_1.VOB"), dir.File("novideo/film"), 1, 1);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.errors.find(dir.File("novideo/VTS_01_1.VOB") + " has no video stream."),
              std::string::npos)
        << run.errors;
    EXPECT_EQ(Names(dir.File("novideo")), std::vector<std::string>{"VTS_01_1.VOB"});

    run = RunIndexer(PalVob(titles), dir.File("film"), 5, 1);
    EXPECT_EQ(run.status, 3);
    EXPECT_NE(run.errors.find("Audio track 5 (audio stream 4) is not in"), std::string::npos);
    EXPECT_EQ(Names(dir.Path()), (std::vector<std::string>{"film.d2v", "novideo"}));
}

}  // namespace
