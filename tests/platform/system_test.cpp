#include "platform/system.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/utsname.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "platform/files.h"
#include "platform/sys_child.h"
#include "support/TestEnv.h"

using testing_support::ReadAll;
using testing_support::ScopedEnv;
using testing_support::TempDir;

namespace {

const std::string kLockProbe = std::string(MOVREX_TEST_HELPER_DIR) + "/sys_lock_probe";

// Waits for another process to make `path`; false after ten seconds.
bool AppearsSoon(const std::string& path) {
    for (int i = 0; i < 1000; ++i) {
        if (std::filesystem::exists(path)) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

std::string ProbeOnce(const std::string& name) {
    sys_test::Child probe({kLockProbe, name});
    probe.CloseInput();
    std::string answer = probe.ReadLine();
    probe.Wait();
    return answer;
}

class SingleInstanceTest : public testing::Test {
  protected:
    TempDir runtime_;
    ScopedEnv env_{"XDG_RUNTIME_DIR", runtime_.Path()};
};

// A stand-in for the desktop's opener: records its arguments one per line, then stays until the
// test lets it go, and notes whether it was let go or gave up waiting.
std::string WriteFakeOpener(const TempDir& dir) {
    const std::string folder = dir.File("bin");
    std::filesystem::create_directories(folder);
    const std::string d = dir.Path();
    const std::string script =
        "#!/bin/sh\n"
        "printf '%s\\n' \"$@\" > '" +
        d +
        "/args.tmp'\n"
        "mv '" +
        d + "/args.tmp' '" + d +
        "/args'\n"
        "i=0\n"
        "while [ ! -e '" +
        d +
        "/release' ] && [ $i -lt 200 ]; do\n"
        "  sleep 0.05; i=$((i+1))\n"
        "done\n"
        "if [ -e '" +
        d +
        "/release' ]; then r=released; else r=gave-up; fi\n"
        "echo $r > '" +
        d + "/end.tmp'; mv '" + d + "/end.tmp' '" + d + "/end'\n";
    std::ofstream(folder + "/xdg-open") << script;
    chmod((folder + "/xdg-open").c_str(), 0755);
    return folder;
}

}  // namespace

TEST(CpuFeatures, AgreeWithWhatTheKernelReports) {
    const platform::CpuFeatures cpu = platform::DetectCpuFeatures();
#if defined(__i386__) || defined(__x86_64__)
    std::ifstream info("/proc/cpuinfo");
    std::string line;
    while (std::getline(info, line) && line.rfind("flags", 0) != 0) {
    }
    if (line.empty()) GTEST_SKIP() << "/proc/cpuinfo has no flags line";
    std::istringstream words(line.substr(line.find(':') + 1));
    bool mmx = false, sse = false, sse2 = false;
    for (std::string flag; words >> flag;) {
        mmx |= flag == "mmx";
        sse |= flag == "sse";
        sse2 |= flag == "sse2";
    }
    EXPECT_EQ(cpu.mmx, mmx);
    EXPECT_EQ(cpu.sse, sse);
    EXPECT_EQ(cpu.sse2, sse2);
#if defined(__x86_64__)
    EXPECT_TRUE(cpu.mmx && cpu.sse && cpu.sse2);  // every 64-bit x86 processor has all three
#endif
#else
    EXPECT_FALSE(cpu.mmx || cpu.sse || cpu.sse2);
#endif
}

TEST(OsVersion, KernelFromUnameAndDistributionFromOsRelease) {
    const platform::OsVersion os = platform::QueryOsVersion();
    struct utsname names;
    ASSERT_EQ(uname(&names), 0);
    EXPECT_TRUE(os.known);
    EXPECT_EQ(os.name, names.sysname);
    EXPECT_EQ(os.release, names.release);
    EXPECT_EQ(os.machine, names.machine);
    std::string text;
    if (platform::ReadFileText("/etc/os-release", text) ||
        platform::ReadFileText("/usr/lib/os-release", text)) {
        EXPECT_EQ(os.distro, platform::OsReleasePrettyName(text));
    }
}

TEST(OsVersion, PrettyNameIsUnquotedAsTheShellWould) {
    using platform::OsReleasePrettyName;
    EXPECT_EQ(
        OsReleasePrettyName("NAME=\"Debian\"\nPRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\n"
                            "ID=debian\n"),
        "Debian GNU/Linux 12 (bookworm)");
    EXPECT_EQ(OsReleasePrettyName("PRETTY_NAME='It''s'\n"), "");
    EXPECT_EQ(OsReleasePrettyName("PRETTY_NAME='Single $quoted \\x'"), "Single $quoted \\x");
    EXPECT_EQ(OsReleasePrettyName("PRETTY_NAME=\"Say \\\"hi\\\" \\\\ \\$HOME\"\r\n"),
              "Say \"hi\" \\ $HOME");
    EXPECT_EQ(OsReleasePrettyName("PRETTY_NAME=Plain\n"), "Plain");
    EXPECT_EQ(OsReleasePrettyName("  PRETTY_NAME=\"Indented\""), "Indented");
    EXPECT_EQ(OsReleasePrettyName("PRETTY_NAME=\"First\"\nPRETTY_NAME=\"Second\"\n"), "Second");
    EXPECT_EQ(OsReleasePrettyName("PRETTY_NAME_EXTRA=\"No\"\n# PRETTY_NAME=\"No\"\n"), "");
    EXPECT_EQ(OsReleasePrettyName("PRETTY_NAME=\"Never closed\nID=x\n"), "");
    EXPECT_EQ(OsReleasePrettyName("PRETTY_NAME=\"Ends in a backslash\\"), "");
    EXPECT_EQ(OsReleasePrettyName("PRETTY_NAME=\"Bell\x07 and\x1b[31m escape\""),
              "Bell and[31m escape");
    EXPECT_EQ(OsReleasePrettyName(""), "");
    EXPECT_EQ(OsReleasePrettyName(std::string("PRETTY_NAME=\"A\0B\"", 17)), "AB");
}

TEST_F(SingleInstanceTest, ASecondHolderInTheSameProcessIsRefusedUntilTheFirstEnds) {
    {
        platform::SingleInstance first("Movrex");
        ASSERT_TRUE(first.Acquired());
        platform::SingleInstance second("Movrex");
        EXPECT_FALSE(second.Acquired());
        platform::SingleInstance other("Other");
        EXPECT_TRUE(other.Acquired());
    }
    platform::SingleInstance again("Movrex");
    EXPECT_TRUE(again.Acquired());
    EXPECT_TRUE(platform::FileExists(runtime_.File("Movrex.lock")));
}

TEST_F(SingleInstanceTest, AnotherProcessIsRefusedWhileWeHoldIt) {
    {
        platform::SingleInstance held("Movrex");
        ASSERT_TRUE(held.Acquired());
        EXPECT_EQ(ProbeOnce("Movrex"), "refused");
    }
    EXPECT_EQ(ProbeOnce("Movrex"), "acquired");
}

TEST_F(SingleInstanceTest, WeAreRefusedWhileAnotherProcessHoldsItAndFreedWhenItDies) {
    sys_test::Child holder({kLockProbe, "Movrex", "hold"});
    ASSERT_EQ(holder.ReadLine(), "acquired");
    EXPECT_FALSE(platform::SingleInstance("Movrex").Acquired());
    holder.Kill();
    holder.Wait();
    EXPECT_TRUE(platform::SingleInstance("Movrex").Acquired());
}

TEST_F(SingleInstanceTest, AProgramStartedMeanwhileDoesNotKeepTheLock) {
    auto held = std::make_unique<platform::SingleInstance>("Movrex");
    ASSERT_TRUE(held->Acquired());
    sys_test::Child started({kLockProbe, "Movrex", "idle"});
    ASSERT_EQ(started.ReadLine(), "ready");
    held.reset();
    EXPECT_EQ(ProbeOnce("Movrex"), "acquired");
}

TEST_F(SingleInstanceTest, NamesStayInsideTheRuntimeFolder) {
    platform::SingleInstance odd("../escape/name");
    EXPECT_TRUE(odd.Acquired());
    EXPECT_TRUE(platform::FileExists(runtime_.File(".._escape_name.lock")));
    platform::SingleInstance empty("");
    EXPECT_TRUE(empty.Acquired());
}

TEST(SingleInstance, AMissingFolderMeansNotAcquiredAndSaysWhy) {
    TempDir dir;
    ScopedEnv env("XDG_RUNTIME_DIR", dir.File("missing"));
    const platform::SingleInstance missing("Movrex");
    EXPECT_FALSE(missing.Acquired());
    EXPECT_EQ(
        missing.Error().rfind("cannot open the lock file " + dir.File("missing/Movrex.lock"), 0),
        0u)
        << missing.Error();
    // In a folder of its own; a second holder is refused without a reason to give.
    const platform::SingleInstance held("Movrex", dir.Path());
    EXPECT_TRUE(held.Acquired());
    const platform::SingleInstance second("Movrex", dir.Path());
    EXPECT_FALSE(second.Acquired());
    EXPECT_EQ(second.Error(), "");
}

TEST(ShellOpen, FalseWhenNoOpenerIsInstalled) {
    TempDir dir;
    std::filesystem::create_directories(dir.File("empty"));
    ScopedEnv path("PATH", dir.File("empty"));
    EXPECT_FALSE(platform::ShellOpen("/tmp/readme.txt"));
    // One that is there but cannot be run does not count.
    dir.Write("empty/xdg-open", "#!/bin/sh\n");
    chmod(dir.File("empty/xdg-open").c_str(), 0644);
    EXPECT_FALSE(platform::ShellOpen("/tmp/readme.txt"));
}

TEST(ShellOpen, HandsTheTargetOverWholeAndDoesNotWait) {
    TempDir dir;
    ScopedEnv path("PATH", WriteFakeOpener(dir) + ":/usr/bin:/bin");
    const std::string target = "/films/My \"DVD\" $x 'n' é.txt";
    ASSERT_TRUE(platform::ShellOpen(target));
    // Returned while the opener still runs: it has not ended, neither released nor given up.
    EXPECT_FALSE(std::filesystem::exists(dir.File("end")));
    // And it is nobody's child of ours to collect.
    EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1);
    ASSERT_TRUE(AppearsSoon(dir.File("args")));
    EXPECT_EQ(ReadAll(dir.File("args")), target + "\n");
    dir.Write("release", "");
    ASSERT_TRUE(AppearsSoon(dir.File("end")));
    EXPECT_EQ(ReadAll(dir.File("end")), "released\n");
}

TEST(ShellOpen, ATargetThatLooksLikeAnOptionIsNotTakenForOne) {
    TempDir dir;
    ScopedEnv path("PATH", WriteFakeOpener(dir) + ":/usr/bin:/bin");
    dir.Write("release", "");
    ASSERT_TRUE(platform::ShellOpen("--version"));
    ASSERT_TRUE(AppearsSoon(dir.File("args")));
    EXPECT_EQ(ReadAll(dir.File("args")), "./--version\n");
    EXPECT_FALSE(platform::ShellOpen(""));
}
