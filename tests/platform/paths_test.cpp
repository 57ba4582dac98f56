#include "platform/paths.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "platform/sys_child.h"
#include "support/TestEnv.h"

namespace fs = std::filesystem;
using testing_support::ScopedEnv;
using testing_support::TempDir;

namespace {

struct ProbeAnswer {
    std::string executableDir, installDir, systemFolder;
};

// Copies the probe program to `relative` below `dir` and runs it there from `cwd`.
ProbeAnswer RunProbeAt(const TempDir& dir, const std::string& relative, const std::string& cwd) {
    const std::string exe = dir.File(relative);
    fs::create_directories(fs::path(exe).parent_path());
    fs::copy_file(std::string(MOVREX_TEST_HELPER_DIR) + "/sys_paths_probe", exe);
    ScopedEnv noOverride("MOVREX_SYSTEM_DIR", "");
    sys_test::Child probe({exe}, cwd);
    probe.CloseInput();
    ProbeAnswer answer;
    answer.executableDir = probe.ReadLine();
    answer.installDir = probe.ReadLine();
    answer.systemFolder = probe.ReadLine();
    probe.Wait();
    return answer;
}

}  // namespace

TEST(Paths, EnvironmentOverridesLoseTrailingSeparators) {
    ScopedEnv system("MOVREX_SYSTEM_DIR", "/opt/movrex/sys//");
    ScopedEnv config("MOVREX_CONFIG_DIR", "/home/u/cfg/");
    ScopedEnv machine("MOVREX_MACHINE_HIVE", "/etc/movrex/machine hive.reg");
    ScopedEnv runtime("XDG_RUNTIME_DIR", "/run/user/1000/");
    EXPECT_EQ(platform::SystemFolder(), "/opt/movrex/sys");
    EXPECT_EQ(platform::ConfigFolder(), "/home/u/cfg");
    EXPECT_EQ(platform::CurrentUserHivePath(), "/home/u/cfg/user.reg");
    EXPECT_EQ(platform::LocalMachineHivePath(), "/etc/movrex/machine hive.reg");
    EXPECT_EQ(platform::RuntimeFolder(), "/run/user/1000");
    ScopedEnv root("MOVREX_SYSTEM_DIR", "/");
    EXPECT_EQ(platform::SystemFolder(), "/");
}

TEST(Paths, ConfigurationFolderFallsBackToXdgThenHome) {
    ScopedEnv config("MOVREX_CONFIG_DIR", "");
    ScopedEnv xdg("XDG_CONFIG_HOME", "/x/config/");
    ScopedEnv home("HOME", "/home/someone");
    EXPECT_EQ(platform::ConfigFolder(), "/x/config/movrex");
    ScopedEnv noXdg("XDG_CONFIG_HOME", "");
    EXPECT_EQ(platform::ConfigFolder(), "/home/someone/.config/movrex");
    EXPECT_EQ(platform::CurrentUserHivePath(), "/home/someone/.config/movrex/user.reg");
}

TEST(Paths, DefaultsBelowTheSystemFolderAndTmp) {
    ScopedEnv system("MOVREX_SYSTEM_DIR", "/inst/system");
    ScopedEnv machine("MOVREX_MACHINE_HIVE", "");
    ScopedEnv runtime("XDG_RUNTIME_DIR", "");
    EXPECT_EQ(platform::LocalMachineHivePath(), "/inst/system/machine.reg");
    EXPECT_EQ(platform::RuntimeFolder(), "/tmp");
}

TEST(Paths, CurrentFolderWithoutTrailingSeparator) {
    char buffer[4096];
    ASSERT_NE(getcwd(buffer, sizeof buffer), nullptr);
    EXPECT_EQ(platform::CurrentDir(), buffer);
    EXPECT_NE(platform::CurrentDir().back(), '/');
}

TEST(InstallDir, NearestFolderWithASystemFolderAboveTheProgram) {
    TempDir dir;
    fs::create_directories(dir.File("inst/system"));
    ProbeAnswer beside = RunProbeAt(dir, "inst/movrex", dir.Path());
    EXPECT_EQ(beside.executableDir, dir.File("inst"));
    EXPECT_EQ(beside.installDir, dir.File("inst"));
    EXPECT_EQ(beside.systemFolder, dir.File("inst/system"));

    ProbeAnswer below = RunProbeAt(dir, "inst/tools/VDubMod/stand-in", dir.Path());
    EXPECT_EQ(below.executableDir, dir.File("inst/tools/VDubMod"));
    EXPECT_EQ(below.installDir, dir.File("inst"));

    fs::create_directories(dir.File("inst/tools/system"));
    ProbeAnswer nearer = RunProbeAt(dir, "inst/tools/DVD2AVI/stand-in", dir.Path());
    EXPECT_EQ(nearer.installDir, dir.File("inst/tools"));
}

TEST(InstallDir, WithoutASystemFolderNearbyItIsTheCurrentFolder) {
    TempDir dir;
    fs::create_directories(dir.File("inst/system"));
    fs::create_directories(dir.File("elsewhere"));
    // Four levels below: too far up to count as the installation.
    ProbeAnswer far = RunProbeAt(dir, "inst/a/b/c/d/probe", dir.File("elsewhere"));
    EXPECT_EQ(far.installDir, dir.File("elsewhere"));
    EXPECT_EQ(far.systemFolder, dir.File("elsewhere/system"));
    ProbeAnswer none = RunProbeAt(dir, "plain/probe", dir.File("elsewhere"));
    EXPECT_EQ(none.installDir, dir.File("elsewhere"));
}
