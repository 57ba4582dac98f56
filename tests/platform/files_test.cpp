#include "platform/files.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/sys_child.h"
#include "support/TestEnv.h"

namespace fs = std::filesystem;
using testing_support::ReadAll;
using testing_support::TempDir;

namespace {

int EntryCount(const std::string& folder) {
    int count = 0;
    for ([[maybe_unused]] auto& entry : fs::directory_iterator(folder)) ++count;
    return count;
}

// A check that must run without root's powers over file modes, in a folder anyone may use.
int Unprivileged(const TempDir& dir, const std::function<int()>& body) {
    fs::permissions(dir.Path(), fs::perms::all);
    return sys_test::InFork(body, true);
}

// Runs `body` with writes limited to `bytes` per file, so that writing more fails half-way as
// on a full disk.
int WithFileSizeLimit(rlim_t bytes, const std::function<int()>& body) {
    return sys_test::InFork(
        [&] {
            signal(SIGXFSZ, SIG_IGN);
            struct rlimit limit = {bytes, bytes};
            if (setrlimit(RLIMIT_FSIZE, &limit) != 0) return 99;
            return body();
        },
        false);
}

}  // namespace

TEST(Wildcards, StarsQuestionMarksAndCase) {
    using platform::WildcardMatch;
    EXPECT_TRUE(
        WildcardMatch("VTS_01 - Stream Information.txt", "VTS_* - Stream Information.txt", false));
    EXPECT_FALSE(
        WildcardMatch("vts_01 - stream information.txt", "VTS_* - Stream Information.txt", false));
    EXPECT_TRUE(
        WildcardMatch("vts_01 - stream information.TXT", "VTS_* - Stream Information.txt", true));
    EXPECT_TRUE(WildcardMatch("VTS_01_1.VOB", "VTS_01_?.VOB", false));
    EXPECT_FALSE(WildcardMatch("VTS_01_10.VOB", "VTS_01_?.VOB", false));
    EXPECT_FALSE(WildcardMatch("VTS_01_.VOB", "VTS_01_?.VOB", false));
    EXPECT_TRUE(WildcardMatch("", "*", false));
    EXPECT_FALSE(WildcardMatch("", "?", false));
    EXPECT_TRUE(WildcardMatch("abc", "a**c", false));
    EXPECT_FALSE(WildcardMatch("abcd", "a*c", false));
    EXPECT_TRUE(WildcardMatch("abcbc", "a*bc", false));
    // Only ASCII letters fold; other bytes must be equal.
    EXPECT_FALSE(WildcardMatch("\xC3\xA9.txt", "\xC3\x89.txt", true));
}

TEST(Wildcards, QuestionMarkStandsForOneCharacterNotOneByte) {
    EXPECT_TRUE(platform::WildcardMatch("caf\xC3\xA9.avi", "caf?.avi", false));
    EXPECT_FALSE(platform::WildcardMatch("caf\xC3\xA9.avi", "caf??.avi", false));
    EXPECT_TRUE(platform::WildcardMatch("\xC3\xA9t\xC3\xA9", "*t?", false));
}

TEST(Wildcards, DotStarAlsoFindsNamesWithoutExtension) {
    EXPECT_TRUE(platform::WildcardMatch("README", "*.*", false));
    EXPECT_TRUE(platform::WildcardMatch("film", "film.*", false));
    EXPECT_TRUE(platform::WildcardMatch("film.avi", "film.*", false));
    EXPECT_FALSE(platform::WildcardMatch("films", "film.*", false));
}

TEST(Wildcards, ManyStarsOnALongNameDoNotBacktrackForever) {
    const std::string name(20000, 'a');
    EXPECT_FALSE(platform::WildcardMatch(name, "*a*a*a*a*a*a*a*a*a*a*b", false));
    EXPECT_TRUE(platform::WildcardMatch(name + "b", "*a*a*a*a*a*a*a*a*a*a*b", false));
}

TEST(FindFirstMatch, FirstInNameOrderWhateverTheCreationOrder) {
    TempDir dir;
    dir.Write("VTS_02_1.VOB", "");
    dir.Write("VTS_01_2.VOB", "");
    dir.Write("VTS_01_1.VOB", "");
    dir.Write("VTS_01_0.IFO", "");
    EXPECT_EQ(platform::FindFirstMatch(dir.Path(), "VTS_*.VOB", false), "VTS_01_1.VOB");
    EXPECT_EQ(platform::FindFirstMatch(dir.Path(), "vts_*.ifo", true), "VTS_01_0.IFO");
    EXPECT_EQ(platform::FindFirstMatch(dir.Path(), "vts_*.ifo", false), "");
    EXPECT_EQ(platform::FindFirstMatch(dir.Path(), "*.d2v", false), "");
}

TEST(FindFirstMatch, FindsFoldersButNeverDotEntries) {
    TempDir dir;
    fs::create_directory(dir.File(".ivtc"));
    EXPECT_EQ(platform::FindFirstMatch(dir.Path(), ".ivtc", false), ".ivtc");
    EXPECT_EQ(platform::FindFirstMatch(dir.Path(), ".*", false), ".ivtc");
    EXPECT_EQ(platform::FindFirstMatch(dir.Path() + "/.ivtc", "*", false), "");
}

TEST(FindFirstMatch, MissingOrUnreadableFolderFindsNothing) {
    TempDir dir;
    EXPECT_EQ(platform::FindFirstMatch(dir.File("missing"), "*", false), "");
    EXPECT_EQ(platform::FindFirstMatch(dir.Write("file", ""), "*", false), "");
    const std::string locked = dir.File("locked");
    int result = Unprivileged(dir, [&] {
        if (!platform::ForceDirectories(locked)) return 1;
        std::ofstream(locked + "/a.vob") << "x";
        if (chmod(locked.c_str(), 0) != 0) return 2;
        return platform::FindFirstMatch(locked, "*.vob", false).empty() ? 0 : 3;
    });
    EXPECT_EQ(result, 0);
}

TEST(FileQueries, FilesFoldersLinksAndMissingPaths) {
    TempDir dir;
    const std::string file = dir.Write("a.avi", "12345");
    fs::create_directory(dir.File("folder"));
    fs::create_symlink(file, dir.File("link"));
    fs::create_symlink(dir.File("gone"), dir.File("dangling"));
    EXPECT_TRUE(platform::FileExists(file));
    EXPECT_FALSE(platform::DirectoryExists(file));
    EXPECT_TRUE(platform::DirectoryExists(dir.File("folder")));
    EXPECT_FALSE(platform::FileExists(dir.File("folder")));
    EXPECT_TRUE(platform::FileExists(dir.File("link")));
    EXPECT_FALSE(platform::FileExists(dir.File("dangling")));
    EXPECT_FALSE(platform::FileExists(""));
    EXPECT_EQ(platform::FileSize(file), 5);
    EXPECT_EQ(platform::FileSize(dir.File("link")), 5);
    EXPECT_EQ(platform::FileSize(dir.File("folder")), -1);
    EXPECT_EQ(platform::FileSize(dir.File("dangling")), -1);
    EXPECT_EQ(platform::FileSize(dir.Write("empty", "")), 0);
    EXPECT_EQ(platform::ShortPathName("/a b/c d.avi"), "/a b/c d.avi");  // not there
}

// A path with a blank or a quote becomes a link without them in a private folder of the runtime
// folder, the same one every time; a link someone turned elsewhere is put right.
TEST(ShortPathName, ALinkWithoutBlanksInTheRuntimeFolder) {
    TempDir dir;
    testing_support::ScopedEnv runtime("XDG_RUNTIME_DIR", dir.File("run"));
    fs::create_directories(dir.File("run"));
    const std::string file = dir.Write("My Films/a \"b\".avi", "movie");
    const std::string link = platform::ShortPathName(file);
    EXPECT_EQ(link.find_first_of(" \t\""), std::string::npos) << link;
    EXPECT_EQ(ReadAll(link), "movie");
    EXPECT_EQ(fs::path(link).filename(), "a__b_.avi");  // the name a process is known by
    const fs::path links = fs::path(link).parent_path().parent_path();
    EXPECT_EQ(links, dir.File("run/movrex-links-" + std::to_string(getuid())));
    EXPECT_EQ(fs::status(links).permissions() & fs::perms::all, fs::perms::owner_all);
    EXPECT_EQ(platform::ShortPathName(file), link);
    fs::remove(link);
    fs::create_symlink(dir.Write("other", "other"), link);
    EXPECT_EQ(platform::ShortPathName(file), link);
    EXPECT_EQ(ReadAll(link), "movie");
    const std::string folder = platform::ShortPathName(dir.File("My Films") + "/");
    EXPECT_EQ(folder.back(), '/');
    EXPECT_EQ(ReadAll(folder + "a \"b\".avi"), "movie");
    EXPECT_EQ(platform::ShortPathName(dir.File("other")), dir.File("other"));
}

TEST(FileQueries, SizeBeyondFourGigabytes) {
    TempDir dir;
    const std::string path = dir.Write("big.vob", "");
    const int64_t size = (int64_t{5} << 30) + 7;
    std::error_code ec;
    fs::resize_file(path, static_cast<uintmax_t>(size), ec);  // sparse: takes no space
    if (ec) GTEST_SKIP() << "the temporary folder cannot hold a sparse 5 GiB file";
    EXPECT_EQ(platform::FileSize(path), size);
}

TEST(FileQueries, SizeOfAPipeOrAnUnreadableFileIsUnavailable) {
    TempDir dir;
    const std::string pipe = dir.File("pipe");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_EQ(platform::FileSize(pipe), -1);  // and returns at once: nobody writes to it
    const std::string secret = dir.File("secret");
    int result = Unprivileged(dir, [&] {
        std::ofstream(secret) << "hidden";
        if (chmod(secret.c_str(), 0) != 0) return 1;
        return platform::FileSize(secret) == -1 ? 0 : 2;
    });
    EXPECT_EQ(result, 0);
}

TEST(ForceDirectories, MakesParentsAndRefusesAFileInTheWay) {
    TempDir dir;
    EXPECT_TRUE(platform::ForceDirectories(dir.File("a/b c/d")));
    EXPECT_TRUE(platform::DirectoryExists(dir.File("a/b c/d")));
    EXPECT_TRUE(platform::ForceDirectories(dir.File("a/b c/d")));
    dir.Write("file", "x");
    EXPECT_FALSE(platform::ForceDirectories(dir.File("file")));
    EXPECT_FALSE(platform::ForceDirectories(dir.File("file/sub")));
    EXPECT_FALSE(platform::ForceDirectories(""));
}

TEST(CopyFileTo, CopiesContentsModeAndTime) {
    TempDir dir;
    std::string data(600000, '\0');
    for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>(i * 7);
    const std::string from = dir.Write("source.bin", data);
    chmod(from.c_str(), 0640);
    const auto when = fs::last_write_time(from) - std::chrono::hours(48);
    fs::last_write_time(from, when);
    const std::string to = dir.File("copy of source.bin");
    ASSERT_TRUE(platform::CopyFileTo(from, to, true));
    EXPECT_EQ(ReadAll(to), data);
    EXPECT_EQ(fs::status(to).permissions() & fs::perms::all, fs::perms(0640));
    EXPECT_EQ(fs::last_write_time(to), when);
    EXPECT_EQ(EntryCount(dir.Path()), 2);
}

TEST(CopyFileTo, ExistingTargetIsRefusedOrReplacedAsAsked) {
    TempDir dir;
    const std::string from = dir.Write("new", "new text");
    const std::string to = dir.Write("old", "old text");
    EXPECT_FALSE(platform::CopyFileTo(from, to, true));
    EXPECT_EQ(ReadAll(to), "old text");
    // A dangling link is something at that name too.
    fs::create_symlink(dir.File("nowhere"), dir.File("link"));
    EXPECT_FALSE(platform::CopyFileTo(from, dir.File("link"), true));
    EXPECT_FALSE(fs::exists(dir.File("nowhere")));
    EXPECT_TRUE(platform::CopyFileTo(from, to, false));
    EXPECT_EQ(ReadAll(to), "new text");
    EXPECT_EQ(EntryCount(dir.Path()), 3);
}

TEST(CopyFileTo, OntoItselfKeepsTheContents) {
    TempDir dir;
    const std::string path = dir.Write("same", "contents");
    EXPECT_TRUE(platform::CopyFileTo(path, path, false));
    EXPECT_EQ(ReadAll(path), "contents");
    EXPECT_FALSE(platform::CopyFileTo(path, path, true));
}

TEST(CopyFileTo, BadSourcesAndTargetsLeaveNothingBehind) {
    TempDir dir;
    const std::string from = dir.Write("source", "data");
    fs::create_directory(dir.File("folder"));
    EXPECT_FALSE(platform::CopyFileTo(dir.File("missing"), dir.File("t1"), false));
    EXPECT_FALSE(platform::CopyFileTo(dir.File("folder"), dir.File("t2"), false));
    EXPECT_FALSE(platform::CopyFileTo(from, dir.File("no such folder/t3"), false));
    EXPECT_FALSE(platform::CopyFileTo(from, dir.File("folder"), false));
    EXPECT_FALSE(platform::CopyFileTo(from, "", false));
    EXPECT_EQ(EntryCount(dir.Path()), 2);
    EXPECT_EQ(EntryCount(dir.File("folder")), 0);
}

TEST(CopyFileTo, AWriteFailingHalfWayLeavesNoPartialTarget) {
    TempDir dir;
    const std::string from = dir.Write("big", std::string(1 << 20, 'v'));
    const std::string fresh = dir.File("fresh");
    const std::string old = dir.Write("old", "previous");
    int result = WithFileSizeLimit(64 * 1024, [&] {
        if (platform::CopyFileTo(from, fresh, false)) return 1;
        if (platform::CopyFileTo(from, old, false)) return 2;
        return 0;
    });
    EXPECT_EQ(result, 0);
    EXPECT_FALSE(fs::exists(fresh));
    EXPECT_EQ(ReadAll(old), "previous");
    EXPECT_EQ(EntryCount(dir.Path()), 2);
}

TEST(DeleteTree, RemovesReadOnlyFilesAndFolders) {
    TempDir dir;
    const std::string root = dir.File("mx_tmp");
    int result = Unprivileged(dir, [&] {
        if (!platform::ForceDirectories(root + "/sub/deeper")) return 1;
        std::ofstream(root + "/a.d2v") << "x";
        std::ofstream(root + "/sub/deeper/b.avs") << "y";
        chmod((root + "/a.d2v").c_str(), 0400);
        chmod((root + "/sub/deeper/b.avs").c_str(), 0);
        chmod((root + "/sub/deeper").c_str(), 0);  // not even listable
        chmod((root + "/sub").c_str(), 0500);      // listable, entries not removable
        chmod(root.c_str(), 0500);
        if (!platform::DeleteTree(root)) return 2;
        return fs::exists(root) ? 3 : 0;
    });
    EXPECT_EQ(result, 0);
}

TEST(DeleteTree, RemovesLinksWithoutFollowingThem) {
    TempDir dir;
    const std::string outside = dir.Write("outside/keep.txt", "keep");
    const std::string tree = dir.File("tree");
    fs::create_directories(tree);
    fs::create_directory_symlink(dir.File("outside"), tree + "/folder link");
    fs::create_symlink(outside, tree + "/file link");
    fs::create_directory_symlink(dir.File("outside"), dir.File("top link"));
    EXPECT_TRUE(platform::DeleteTree(tree));
    EXPECT_TRUE(platform::DeleteTree(dir.File("top link")));
    EXPECT_FALSE(fs::exists(tree));
    EXPECT_FALSE(fs::is_symlink(dir.File("top link")));
    EXPECT_EQ(ReadAll(outside), "keep");
}

TEST(DeleteTree, SingleFileAndNothingAtAll) {
    TempDir dir;
    const std::string file = dir.Write("single", "x");
    EXPECT_TRUE(platform::DeleteTree(file));
    EXPECT_FALSE(fs::exists(file));
    EXPECT_TRUE(platform::DeleteTree(file));  // nothing left to remove
    EXPECT_FALSE(platform::DeleteTree(""));
}

TEST(DeleteTree, ReportsWhatItCouldNotRemoveAndRemovesTheRest) {
    if (geteuid() != 0) GTEST_SKIP() << "needs root to make a folder the test cannot change";
    TempDir dir;
    const std::string tree = dir.File("tree");
    fs::create_directories(tree + "/b/owned");
    dir.Write("tree/a", "x");
    dir.Write("tree/c", "x");
    dir.Write("tree/b/owned/file", "x");
    fs::permissions(tree, fs::perms::all);
    fs::permissions(tree + "/b", fs::perms::all);
    fs::permissions(tree + "/b/owned", fs::perms(0555));  // root's, so it stays read-only
    int result = Unprivileged(dir, [&] {
        if (platform::DeleteTree(tree)) return 1;
        if (fs::exists(tree + "/a") || fs::exists(tree + "/c")) return 2;
        return fs::exists(tree + "/b/owned/file") ? 0 : 3;
    });
    EXPECT_EQ(result, 0);
}

TEST(FileText, ReadsAndWritesAnyBytes) {
    TempDir dir;
    const std::string text = std::string("line 1\r\nline\0 2\r\n\xC3\xA9\xFF", 20);
    const std::string path = dir.File("script.avs");
    ASSERT_TRUE(platform::WriteFileText(path, text));
    std::string back = "stale";
    ASSERT_TRUE(platform::ReadFileText(path, back));
    EXPECT_EQ(back, text);
    ASSERT_TRUE(platform::WriteFileText(path, ""));
    EXPECT_TRUE(platform::ReadFileText(path, back));
    EXPECT_EQ(back, "");
    EXPECT_EQ(EntryCount(dir.Path()), 1);
}

TEST(FileText, ReadingWhatIsNotAFileFailsWithAnEmptyText) {
    TempDir dir;
    std::string text = "stale";
    EXPECT_FALSE(platform::ReadFileText(dir.File("missing"), text));
    EXPECT_EQ(text, "");
    text = "stale";
    EXPECT_FALSE(platform::ReadFileText(dir.Path(), text));
    EXPECT_EQ(text, "");
    const std::string pipe = dir.File("pipe");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_FALSE(platform::ReadFileText(pipe, text));  // at once, not waiting for a writer
}

TEST(FileText, ReplacingKeepsPermissionsAndWritesThroughLinks) {
    TempDir dir;
    const std::string real = dir.Write("real.ini", "old");
    chmod(real.c_str(), 0604);
    fs::create_symlink(real, dir.File("link.ini"));
    ASSERT_TRUE(platform::WriteFileText(dir.File("link.ini"), "new"));
    EXPECT_TRUE(fs::is_symlink(dir.File("link.ini")));
    EXPECT_EQ(ReadAll(real), "new");
    EXPECT_EQ(fs::status(real).permissions() & fs::perms::all, fs::perms(0604));
}

TEST(FileText, AFailedWriteLeavesTheOldFileAndNoTemporaryFile) {
    TempDir dir;
    const std::string path = dir.Write("movrex.ini", "old settings");
    fs::create_directory(dir.File("folder"));
    EXPECT_FALSE(platform::WriteFileText(dir.File("folder"), "text"));
    EXPECT_FALSE(platform::WriteFileText(dir.File("missing/x.ini"), "text"));
    int result = WithFileSizeLimit(
        4096, [&] { return platform::WriteFileText(path, std::string(100000, 'n')) ? 1 : 0; });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(ReadAll(path), "old settings");
    EXPECT_EQ(EntryCount(dir.Path()), 2);
}
