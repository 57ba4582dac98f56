#include <fstream>

#include "CodecSettingsFixture.h"
#include "codec/NewRegistry.h"
#include "codec/reg.h"

namespace {

class NewRegistry : public CodecHiveTest {};

TEST_F(NewRegistry, AbsoluteAndRelativePaths) {
    TNewRegistry reg;
    ASSERT_TRUE(reg.OpenKey("\\Software\\GNU\\", true));
    EXPECT_EQ(reg.CurrentPath(), "Software\\GNU");
    ASSERT_TRUE(reg.OpenKey("XviD", true));
    EXPECT_EQ(reg.CurrentPath(), "Software\\GNU\\XviD");
    reg.WriteInteger("mode", 1);
    ASSERT_TRUE(reg.OpenKey("\\Software", false));
    EXPECT_EQ(reg.CurrentPath(), "Software");
    reg.CloseKey();
    ASSERT_TRUE(reg.OpenKey("Software\\GNU\\XviD\\", false));
    EXPECT_EQ(reg.CurrentPath(), "Software\\GNU\\XviD");
    EXPECT_EQ(reg.ReadInteger("mode"), 1);
}

TEST_F(NewRegistry, OpensWithoutCreatingOnlyWhatExists) {
    TNewRegistry reg;
    EXPECT_FALSE(reg.OpenKey("Software\\Nobody", false));
    EXPECT_FALSE(reg.HasCurrentKey());
    EXPECT_FALSE(platform::LoadHive(platform::CurrentUserHivePath()).KeyExists("Software\\Nobody"));
}

TEST(NewRegistryFailure, AHiveThatCannotBeWrittenRaisesTheRegistryError) {
    // A configuration folder below a plain file can never be created, whoever runs the test.
    testing_support::TempDir dir;
    const std::string blocker = dir.Write("plain", "not a folder");
    testing_support::ScopedEnv env("MOVREX_CONFIG_DIR", blocker + "/movrex");
    TXviDCodecParams xvid;
    TDivXCodecParams divx;
    try {
        WriteCodecSettings(1, false, xvid, divx, false);
        FAIL() << "wrote into " << blocker;
    } catch (const platform::RegistryError& e) {
        EXPECT_STREQ(e.what(), "Failed to set data for 'Active Profile'");
    }
    try {
        WriteCodecSettings(0, true, xvid, divx, false);
        FAIL() << "wrote into " << blocker;
    } catch (const platform::RegistryError& e) {
        EXPECT_STREQ(e.what(), "Failed to set data for 'credits_end'");
    }
}

TEST_F(NewRegistry, ADamagedHiveIsReportedWithItsFileAndLeftAsItIs) {
    const std::string hive = platform::CurrentUserHivePath();
    const std::string damaged =
        "Windows Registry Editor Version 5.00\r\n\r\n\"orphan\"=dword:1\r\n";
    dir_.Write("user.reg", damaged);
    ASSERT_EQ(dir_.File("user.reg"), hive);
    try {
        WriteDivXSettings(TDivXCodecParams{});
        FAIL() << "wrote into a damaged hive";
    } catch (const platform::RegistryError& e) {
        EXPECT_NE(std::string(e.what()).find(hive), std::string::npos) << e.what();
    }
    EXPECT_EQ(testing_support::ReadAll(hive), damaged);
}

}  // namespace
