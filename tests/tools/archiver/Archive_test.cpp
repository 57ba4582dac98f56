// The installed archiver, started with the planner's command line, judged by independent RAR
// readers: libarchive's bsdtar and unrar-free, unar/lsar, and 7-Zip where its build reads RAR
// (Debian's 7zz has no RAR support; the non-free RAR module adds it).
#include <gtest/gtest.h>

#include <filesystem>

#include "Commands.h"
#include "support/GeneratedMedia.h"
#include "support/TestEnv.h"

namespace {

namespace fs = std::filesystem;

class InstalledArchiver : public testing::Test {
  protected:
    void SetUp() override {
        for (const char* tool : {"bsdtar", "unrar-free", "unar", "lsar"})
            if (!tooltest::OnPath(tool)) GTEST_SKIP() << "missing tool: " << tool;
    }
    // rar.exe a -m5 -ep "archive" "file", the planner's call.
    tooltest::CommandResult Add(const std::string& archive, const std::string& file) {
        return tooltest::Run({rar_, "a", "-m5", "-ep", archive, file});
    }
    std::string Write(const std::string& name, const std::string& text) {
        return dir_.Write("in put/" + name, text);
    }
    // Extracts the archive with each reader into a folder of its own and checks that every
    // expected file comes out byte for byte.
    void ExpectEveryReaderExtracts(const std::string& archive,
                                   const std::vector<std::pair<std::string, std::string>>& files) {
        const std::vector<std::pair<std::string, std::vector<std::string>>> readers = {
            {"bsdtar", {"bsdtar", "-xf", archive}},
            {"unrar-free", {"unrar-free", "-x", archive}},
            {"unar", {"unar", "-q", "-D", "-o", ".", archive}},
            {"7zz", {"7zz", "x", "-y", archive}}};
        for (const auto& [name, command] : readers) {
            if (name == "7zz" && !SevenZipReadsRar()) continue;
            const std::string out = dir_.File("out-" + name);
            fs::create_directories(out);
            const auto result = tooltest::Run(command, out);
            EXPECT_EQ(result.status, 0) << name << ": " << result.output;
            for (const auto& [file, text] : files)
                EXPECT_EQ(testing_support::ReadAll(out + "/" + file), text) << name << " " << file;
            EXPECT_EQ(size_t(std::distance(fs::directory_iterator(out), fs::directory_iterator())),
                      files.size())
                << name;
        }
        for (const std::vector<std::string>& check :
             {std::vector<std::string>{"unrar-free", "-t", archive},
              std::vector<std::string>{"lsar", "-t", archive}}) {
            const auto result = tooltest::Run(check);
            EXPECT_EQ(result.status, 0) << check[0] << ": " << result.output;
        }
    }
    static bool SevenZipReadsRar() {
        return tooltest::OnPath("7zz") &&
               tooltest::Run({"7zz", "i"}).output.find(" Rar5 ") != std::string::npos;
    }

    testing_support::TempDir dir_;
    const std::string rar_ = testing_support::DistDir() + "/WinRAR/rar.exe";
};

TEST_F(InstalledArchiver, OneFileWithBlanksAndNonAsciiInItsName) {
    std::string bitmaps(70000, '\0');
    for (size_t i = 0; i < bitmaps.size(); ++i) bitmaps[i] = char(i * 7919 % 251);
    const std::string file = Write("Mein Film ä.sub", bitmaps);
    const std::string archive = dir_.File("Mein Film ä.rar");
    const auto added = Add(archive, file);
    ASSERT_EQ(added.status, 0) << added.output;
    const auto listed = tooltest::Run({"bsdtar", "-tvf", archive});
    EXPECT_NE(listed.output.find(" 70000 "), std::string::npos) << listed.output;
    EXPECT_NE(listed.output.find("Mein Film ä.sub\n"), std::string::npos) << listed.output;
    ExpectEveryReaderExtracts(archive, {{"Mein Film ä.sub", bitmaps}});
}

TEST_F(InstalledArchiver, FilesAddedInTurnAndAFileAddedAgainReplacesItsEntry) {
    const std::string archive = dir_.File("parts.rar");
    ASSERT_EQ(Add(archive, Write("a.sub", "first version")).status, 0);
    ASSERT_EQ(Add(archive, Write("b.sub", std::string(5000, 'b'))).status, 0);
    ASSERT_EQ(Add(archive, Write("a.sub", "second version, longer")).status, 0);
    ExpectEveryReaderExtracts(
        archive, {{"a.sub", "second version, longer"}, {"b.sub", std::string(5000, 'b')}});
}

TEST_F(InstalledArchiver, BadInputIsNamedAndLosesNothing) {
    const std::string notRar = Write("notes.rar", "these are notes, not an archive");
    auto result = Add(notRar, Write("c.sub", "bitmaps"));
    EXPECT_NE(result.status, 0);
    EXPECT_NE(result.output.find(notRar + ": exists but is not a RAR archive"), std::string::npos)
        << result.output;
    EXPECT_EQ(testing_support::ReadAll(notRar), "these are notes, not an archive");

    const std::string archive = dir_.File("missing.rar");
    result = Add(archive, dir_.File("in put/no such.sub"));
    EXPECT_NE(result.status, 0);
    EXPECT_NE(result.output.find("no such.sub: cannot be opened"), std::string::npos)
        << result.output;
    EXPECT_FALSE(fs::exists(archive));
    // Nothing but the inputs is left in the folders: no temporary files.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_.Path()), fs::directory_iterator()), 1);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_.File("in put")), fs::directory_iterator()),
              2);
}

}  // namespace
