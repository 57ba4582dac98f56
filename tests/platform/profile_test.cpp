#include "platform/profile.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/TestEnv.h"

namespace {

using platform::IniFile;
using testing_support::ReadAll;
using testing_support::TempDir;

TEST(IniFile, ReadsIgnoreCaseAndTheFirstOccurrenceWins) {
    TempDir dir;
    IniFile ini(dir.Write("movrex.ini",
                          "; options\n"
                          "orphan=before any section\n"
                          "[TformAdvanced]\n"
                          "  Resizer = 2  \n"
                          "resizer=3\n"
                          "Flag=0\n"
                          "Big=99999999999\n"
                          "Word=abc\n"
                          "Neg=-4\n"
                          "[Other]\n"
                          "Resizer=7\n"
                          "[tformadvanced]\n"
                          "Late=5\n"
                          "RESIZER=9\n"));
    EXPECT_EQ(ini.ReadInteger("tformadvanced", "RESIZER", -1), 2);
    EXPECT_EQ(ini.ReadInteger("TformAdvanced", "late", -1), 5);  // a repeated section still counts
    EXPECT_EQ(ini.ReadString("Other", "Resizer", ""), "7");
    EXPECT_EQ(ini.ReadString("TformAdvanced", "orphan", "def"), "def");
    EXPECT_EQ(ini.ReadInteger("TformAdvanced", "Big", 1), 1);
    EXPECT_EQ(ini.ReadInteger("TformAdvanced", "Word", 1), 1);
    EXPECT_EQ(ini.ReadInteger("TformAdvanced", "Neg", 1), -4);
    EXPECT_FALSE(ini.ReadBool("TformAdvanced", "Flag", true));
    EXPECT_TRUE(ini.ReadBool("TformAdvanced", "Neg", false));
    EXPECT_TRUE(ini.ReadBool("TformAdvanced", "Word", true));
    EXPECT_TRUE(ini.SectionExists("OTHER"));
    EXPECT_FALSE(ini.SectionExists("Missing"));
    EXPECT_EQ(ini.ReadSection("TformAdvanced"),
              (std::vector<std::string>{"Resizer", "Flag", "Big", "Word", "Neg", "Late"}));
}

TEST(IniFile, MissingOrUnreadableFilesGiveTheDefaults) {
    TempDir dir;
    EXPECT_EQ(IniFile(dir.File("none.ini")).ReadInteger("S", "K", 42), 42);
    std::filesystem::create_directory(dir.File("folder.ini"));
    IniFile folder(dir.File("folder.ini"));
    EXPECT_EQ(folder.ReadString("S", "K", "d"), "d");
    EXPECT_FALSE(folder.WriteString("S", "K", "v"));
    IniFile binary(dir.Write("bin.ini", std::string("\0\xff[S\n=\n\0K=1", 11)));
    EXPECT_EQ(binary.ReadInteger("S", "K", 3), 3);
}

TEST(IniFile, AWriteChangesOnlyItsLineAndKeepsEverythingElse) {
    TempDir dir;
    const std::string original =
        "; comment\r\n"
        "[TformAdvanced]\r\n"
        "garbage line\r\n"
        "  Resizer = 2\r\n"
        "[broken\r\n"
        "Other=x\r\n"
        "\r\n"
        "[Next]\r\n"
        "A=1";  // no line end at the end
    IniFile ini(dir.Write("movrex.ini", original));

    ASSERT_TRUE(ini.WriteInteger("tformadvanced", "resizer", 5));
    std::string expected = original;
    expected.replace(expected.find("  Resizer = 2"), 13, "  Resizer=5");
    EXPECT_EQ(ReadAll(ini.Path()), expected);

    ASSERT_TRUE(ini.WriteBool("TformAdvanced", "Subs", true));
    expected.insert(expected.find("\r\n\r\n[Next]") + 2, "Subs=1\r\n");
    EXPECT_EQ(ReadAll(ini.Path()), expected);

    ASSERT_TRUE(ini.WriteString("Next", "B", "two words"));
    expected += "\r\nB=two words\r\n";
    EXPECT_EQ(ReadAll(ini.Path()), expected);

    ASSERT_TRUE(ini.WriteString("New", "K", ""));
    expected += "\r\n[New]\r\nK=\r\n";
    EXPECT_EQ(ReadAll(ini.Path()), expected);
    EXPECT_EQ(ini.ReadString("New", "K", "def"), "");
}

TEST(IniFile, AWriteThatCannotBeSavedLeavesTheOldFile) {
    TempDir dir;
    dir.Write("file", "x");
    IniFile below(dir.File("file/movrex.ini"));
    EXPECT_FALSE(below.WriteInteger("S", "K", 1));

    IniFile ini(dir.Write("cfg/movrex.ini", "[S]\nK=1\n"));
    std::filesystem::create_directory(ini.Path() + ".tmp");
    EXPECT_FALSE(ini.WriteInteger("S", "K", 2));
    EXPECT_EQ(ReadAll(ini.Path()), "[S]\nK=1\n");
    std::filesystem::remove(ini.Path() + ".tmp");

    // Text that would make lines of its own is refused rather than written.
    EXPECT_FALSE(ini.WriteString("S", "K", "1\n[Injected]\nX=1"));
    EXPECT_FALSE(ini.WriteString("S", "K=", "1"));
    EXPECT_FALSE(ini.WriteString("S]", "K", "1"));
    EXPECT_EQ(ReadAll(ini.Path()), "[S]\nK=1\n");
}

TEST(IniFile, AWriteCreatesTheFolder) {
    TempDir dir;
    IniFile ini(dir.File("a/b/movrex.ini"));
    ASSERT_TRUE(ini.WriteString("TformAdvanced", "Key", "v"));
    EXPECT_EQ(ReadAll(ini.Path()), "[TformAdvanced]\nKey=v\n");
}

}  // namespace
