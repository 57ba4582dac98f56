#include "app/Installation.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/Startup.h"
#include "platform/registry.h"
#include "support/TestEnv.h"
#include "util/utils.h"

namespace {

std::string StringAt(const platform::Hive& hive, const std::string& key, const std::string& name) {
    const auto value = hive.GetValue(key, name);
    return value ? value->text : "<none>";
}

// What the install step writes is what start-up reads: the preview player and the archiver below
// the installation folder, and both drivers tables for the codecs.
TEST(Installation, RegistersThePathsStartUpReads) {
    testing_support::TempDir dir;
    const std::string hiveFile = dir.File("system/machine.reg");
    testing_support::ScopedEnv hive("MOVREX_MACHINE_HIVE", hiveFile);
    platform::UpdateHive(hiveFile, [](platform::Hive& h) {
        h.CreateKey("SOFTWARE\\Other");
        platform::RegistryValue kept;
        kept.dword = 7;
        h.SetValue("SOFTWARE\\Other", "kept", kept);
    });
    RegisterInstallation(hiveFile, "/opt/Movrex");
    RegisterInstallation(hiveFile, "/opt/Movrex");  // a second install changes nothing

    TProgramValues program;
    ReadRegisteredPaths(program);
    EXPECT_EQ(program.MediaPlayerPath,
              "/opt/Movrex/Program Files/Windows Media Player/mplayer2.exe");
    EXPECT_EQ(program.RarPath, "/opt/Movrex/WinRAR/rar.exe");
    const platform::Hive h = platform::LoadHive(hiveFile);
    for (const char* table : {"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Drivers32",
                              "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Drivers32"}) {
        EXPECT_EQ(StringAt(h, table, "VIDC.XVID"), "xvidvfw.dll");
        EXPECT_EQ(StringAt(h, table, "VIDC.DX50"), "divx.dll");
        EXPECT_EQ(StringAt(h, table, "VIDC.DIVX"), "divx.dll");
    }
    EXPECT_EQ(h.GetValue("SOFTWARE\\Other", "kept")->dword, 7u);
}

// The job scripts carry the state of the compressors the install step registered, asked for by
// the handler codes "xvid" and "divx".
TEST(Installation, TheJobScriptsFindBothRegisteredCodecs) {
    testing_support::TempDir dir;
    testing_support::ScopedEnv hive("MOVREX_MACHINE_HIVE", dir.File("machine.reg"));
    testing_support::ScopedEnv system("MOVREX_SYSTEM_DIR", dir.Path());
    for (const char* module : {"xvidvfw.dll", "divx.dll"})
        std::filesystem::copy_file(MOVREX_TEST_CODEC_MODULE, dir.File(module));
    RegisterInstallation(dir.File("machine.reg"), "/opt/Movrex");
    EXPECT_EQ(CodecStateText("xvid"), "3,\"B4oN\"");
    EXPECT_EQ(CodecStateText("divx"), "3,\"B4oN\"");
}

TEST(Installation, ADamagedHiveIsReportedAndLeftAlone) {
    testing_support::TempDir dir;
    const std::string hiveFile = dir.Write("machine.reg", "not a hive\n");
    EXPECT_THROW(RegisterInstallation(hiveFile, "/opt/Movrex"), platform::RegistryError);
    EXPECT_EQ(testing_support::ReadAll(hiveFile), "not a hive\n");
}

}  // namespace
