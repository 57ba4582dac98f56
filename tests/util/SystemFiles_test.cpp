#include <gtest/gtest.h>

#include "support/TestEnv.h"
#include "util/utils.h"

namespace {

using testing_support::ScopedEnv;
using testing_support::TempDir;

TEST(SystemDirectory, IsTheSystemFolderWithOneTrailingSeparator) {
    TempDir dir;
    {
        ScopedEnv env("MOVREX_SYSTEM_DIR", dir.Path());
        EXPECT_EQ(SystemDirectory(), dir.Path() + "/");
    }
    ScopedEnv env("MOVREX_SYSTEM_DIR", dir.Path() + "/");
    EXPECT_EQ(SystemDirectory(), dir.Path() + "/");
}

TEST(FileSize64, SizeOfAReadableFileElseMinusOne) {
    TempDir dir;
    EXPECT_EQ(FileSize64(dir.Write("five.bin", "12345")), 5);
    EXPECT_EQ(FileSize64(dir.Write("empty.bin", "")), 0);
    EXPECT_EQ(FileSize64(dir.File("missing.bin")), -1);
    EXPECT_EQ(FileSize64(dir.Path()), -1);  // a folder has no file size
    EXPECT_EQ(FileSize64(""), -1);
}

}  // namespace
