#include <gtest/gtest.h>

#include "platform/system.h"
#include "util/utils.h"

namespace {

std::string Text(uint32_t platformId, uint32_t major, uint32_t minor, uint32_t build,
                 const std::string& servicePack = "") {
    return WindowsVersionText({true, platformId, major, minor, build, servicePack});
}

TEST(WindowsVersionText, NamesFromTheVersionTable) {
    EXPECT_EQ(Text(1, 4, 0, 950), "Win95 (4.0.950).1");
    EXPECT_EQ(Text(1, 4, 10, 2222, " A "), "Win98SE (4.10.2222).1");
    EXPECT_EQ(Text(1, 4, 10, 1998), "Win98 (4.10.1998).1");
    EXPECT_EQ(Text(1, 4, 10, 1998, "A"), "Win98 (4.10.1998).1");  // the second character counts
    EXPECT_EQ(Text(1, 4, 90, 3000), "WinME (4.90.3000).1");
    EXPECT_EQ(Text(2, 3, 51, 1057), "WinNT (3.51.1057).2");
    EXPECT_EQ(Text(2, 4, 0, 1381, "Service Pack 6"), "WinNT (4.0.1381).2");
    EXPECT_EQ(Text(2, 5, 0, 2195), "Win2000 (5.0.2195).2");
    EXPECT_EQ(Text(2, 5, 1, 2600), "WinXP (5.1.2600).2");
}

TEST(WindowsVersionText, EverythingElseIsUnknown) {
    EXPECT_EQ(Text(2, 5, 2, 3790), "WinUnknown (5.2.3790).2");
    EXPECT_EQ(Text(2, 6, 1, 7601), "WinUnknown (6.1.7601).2");
    EXPECT_EQ(Text(1, 4, 20, 1), "WinUnknown (4.20.1).1");
    EXPECT_EQ(Text(0, 4, 0, 1), "WinUnknown (4.0.1).0");
    WindowsVersion unread;
    EXPECT_EQ(WindowsVersionText(unread), "WinUnknown (0.0.0).0");
    unread.platformId = 2;
    unread.major = 5;
    unread.minor = 1;
    EXPECT_EQ(WindowsVersionText(unread), "WinUnknown (5.1.0).2");
}

TEST(LinuxVersionText, KeepsTheShapeOfTheWindowsLine) {
    platform::OsVersion v;
    v.known = true;
    v.name = "Linux";
    v.release = "6.1.0-18-amd64";
    v.distro = "Debian GNU/Linux 12 (bookworm)";
    v.machine = "x86_64";
    EXPECT_EQ(LinuxVersionText(v), "Linux (6.1.0-18-amd64).Debian GNU/Linux 12 (bookworm)");
    v.distro.clear();
    EXPECT_EQ(LinuxVersionText(v), "Linux (6.1.0-18-amd64).x86_64");
    EXPECT_EQ(LinuxVersionText(platform::OsVersion{}), "Unknown (unknown).");
}

TEST(OsVersionText, NamesTheRunningSystem) {
    const std::string text = OsVersionText();
    EXPECT_EQ(text.rfind("Linux (", 0), 0u) << text;
    EXPECT_NE(text.find(")."), std::string::npos) << text;
}

}  // namespace
