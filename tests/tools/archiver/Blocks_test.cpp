// The archive blocks and the command line, without the installed program: sizes beyond 32 bits
// as independent readers see them, and the switches the planner passes.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include "ArchiveWriter.h"
#include "Commands.h"
#include "RarCommand.h"
#include "support/TestEnv.h"

namespace {

using namespace archiver;

TEST(Rar5Blocks, SizesOver4GiBNeedNoSpecialFields) {
    std::string vint;
    AppendVint(vint, 5368709120ULL);  // 5 GiB: 0x1_4000_0000
    EXPECT_EQ(vint, std::string("\x80\x80\x80\x80\x14", 5));

    // A header announcing 5 GiB with no data behind it: libarchive lists the size from the
    // header (unar 1.10 keeps only the low 32 bits of any RAR 5 size, so it cannot judge this).
    if (!tooltest::OnPath("bsdtar")) GTEST_SKIP() << "missing tool: bsdtar";
    testing_support::TempDir dir;
    const std::string path = dir.File("large.rar");
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(fd, 0);
    ArchiveWriter writer(fd, path);
    writer.Begin();
    EntryHeader entry;
    entry.name = "large.sub";
    entry.size = 5368709120ULL;
    std::string header = FileHeader(entry);
    ASSERT_EQ(write(fd, header.data(), header.size()), ssize_t(header.size()));
    close(fd);
    EXPECT_NE(tooltest::Run({"bsdtar", "-tvf", path}).output.find("5368709120"), std::string::npos);
}

TEST(RarCommand, PlannerSwitchesAndRefusals) {
    std::string error;
    const auto command =
        ParseRarCommand({"a", "-m5", "-ep", "/out/m.rar", "/tmp dir/m.sub"}, error);
    ASSERT_TRUE(command) << error;
    EXPECT_EQ(command->archive, "/out/m.rar");
    ASSERT_EQ(command->files.size(), 1u);
    EXPECT_EQ(command->files[0].name, "m.sub");
    const auto kept = ParseRarCommand({"a", "x.rar", "/sub/./dir/f.sub"}, error);
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->files[0].name, "sub/dir/f.sub");
    EXPECT_FALSE(ParseRarCommand({"x", "x.rar", "f"}, error));
    EXPECT_FALSE(ParseRarCommand({"a", "-m9", "x.rar", "f"}, error));
    EXPECT_FALSE(ParseRarCommand({"a", "x.rar", "../f"}, error));
    EXPECT_FALSE(ParseRarCommand({"a", "x.rar"}, error));
}

}  // namespace
