#include "app/Startup.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/Messages.h"
#include "platform/registry.h"
#include "support/FakeInstallation.h"
#include "support/ScriptedDialogs.h"
#include "support/TestEnv.h"

using testing_support::FakeInstallation;
using testing_support::ScriptedDialogs;
using testing_support::ShownMessage;

namespace {

const char* const kNtDrivers = "\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Drivers32";
const char* const k9xDrivers = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Drivers32";

class StartupTest : public testing::Test {
  protected:
    TStartupResult Start() {
        TMachine machine;
        machine.CurrentDir = install_.ProgramDir();
        machine.SystemDir = install_.SystemDir();
        machine.Cpu = cpu_;
        return RunStartup(dialogs_, machine, program_, state_, settings_);
    }
    std::string Registered(platform::RootKey root, const std::string& key,
                           const std::string& name) {
        platform::Registry registry(root);
        if (!registry.OpenKeyReadOnly(key) || !registry.ValueExists(name)) return "<none>";
        return registry.ReadString(name);
    }
    void ExpectOnlyError(const std::string& text) {
        EXPECT_EQ(dialogs_.Messages, (std::vector<ShownMessage>{{MessageKind::Error, text}}));
    }

    FakeInstallation install_;
    platform::CpuFeatures cpu_{true, true, true};
    ScriptedDialogs dialogs_;
    TProgramValues program_;
    TRunState state_;
    TEncRecord settings_;
};

TEST_F(StartupTest, CompleteInstallationSetsEveryValue) {
    state_.StateFlags = InputReady | OutputReady;
    state_.PreviewIndexFile.Set("old.d2v");
    ASSERT_EQ(Start(), TStartupResult::Ready);
    EXPECT_TRUE(dialogs_.Messages.empty());
    const std::string dir = install_.ProgramDir();
    EXPECT_EQ(program_.ProgramDir, dir);
    EXPECT_EQ(program_.DVD2AVIPath, dir + "/DVD2AVI/DVD2AVIdg.exe");
    EXPECT_EQ(program_.BeSweetPath, dir + "/BeSweet/BeSweet.exe");
    EXPECT_EQ(program_.VDubModPath, dir + "/VDubMod/VirtualDubMod.exe");
    EXPECT_EQ(program_.VobSubPath, install_.SystemDir() + "vobsub.dll");
    EXPECT_EQ(program_.AviSynthPath, install_.SystemDir() + "avisynth.dll");
    EXPECT_EQ(program_.MediaPlayerPath, dir + "/Program Files/Windows Media Player/mplayer2.exe");
    EXPECT_EQ(program_.RarPath, dir + "/WinRAR/rar.exe");
    EXPECT_TRUE(program_.HasMMX && program_.HasSSE && program_.HasSSE2);
    EXPECT_FALSE(program_.EssMarker);
    EXPECT_EQ(state_.StateFlags.load(), uint32_t(Idle));
    EXPECT_EQ(state_.CurrentJob.load(), -1);
    EXPECT_EQ(state_.PreviewIndexFile.Get(), "");
    EXPECT_EQ(settings_.SubTrack, -1);
    EXPECT_EQ(settings_.TargetSize, 1400);
    using platform::RootKey;
    EXPECT_EQ(Registered(RootKey::LocalMachine, kNtDrivers, "VIDC.YV12"), "divx.dll");
    EXPECT_EQ(Registered(RootKey::LocalMachine, k9xDrivers, "VIDC.YV12"), "divx.dll");
    platform::Registry user(RootKey::CurrentUser);
    ASSERT_TRUE(user.OpenKeyReadOnly("\\SOFTWARE\\Freeware\\VirtualDubMod"));
    EXPECT_EQ(user.ReadInteger("SeenWelcome"), 1);
    EXPECT_EQ(user.ReadInteger("VirtualDub"), 1);
    EXPECT_EQ(user.ReadInteger("SeenDivXWarning"), 1);
    ASSERT_TRUE(user.OpenKeyReadOnly("\\SOFTWARE\\Freeware\\VirtualDubMod\\Persistence"));
    EXPECT_EQ(user.ReadInteger("Save edit list"), 1);
}

// Each test of the check reports its own message, and only the first failing one is reported:
// every file listed after the removed one is missing as well.
TEST_F(StartupTest, FirstFailingCheckIsReportedAlone) {
    const std::string dir = install_.ProgramDir();
    const std::string tail = kToolMissingSuffix;
    const struct {
        std::vector<std::string> removed;
        std::string message;
    } cases[] = {
        {{"system/xvidvfw.dll", "system/divx.dll", "system/avisynth.dll"}, kNoCodecMessage},
        {{"system/avisynth.dll", "VDubMod/VirtualDubMod.exe"}, kNoAviSynthMessage},
        {{"VDubMod/VirtualDubMod.exe", "BeSweet/BeSweet.exe"},
         dir + "/VDubMod/VirtualDubMod.exe" + tail},
        {{"BeSweet/BeSweet.exe", "DVD2AVI/DVD2AVIdg.exe"}, dir + "/BeSweet/BeSweet.exe" + tail},
        {{"DVD2AVI/DVD2AVIdg.exe", "filters/mpeg2dec3dg.dll"},
         dir + "/DVD2AVI/DVD2AVIdg.exe" + tail},
        {{"filters/mpeg2dec3dg.dll", "filters/chr.dll"}, dir + "/filters/mpeg2dec3dg.dll" + tail},
        {{"filters/autocrop.dll"}, dir + "/filters/autocrop.dll" + tail},
        {{"filters/undot.dll", "filters/decomb.dll", "filters/kerneldeint.dll"},
         dir + "/filters/undot.dll" + tail},
        {{"filters/decomb.dll"}, dir + "/filters/decomb.dll" + tail},
        {{"filters/chr.dll", "filters/kerneldeint.dll"}, dir + "/filters/chr.dll" + tail},
        {{"filters/kerneldeint.dll"}, dir + "/filters/kerneldeint.dll" + tail},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        for (const std::string& file : c.removed) install_.Remove(file);
        dialogs_.Messages.clear();
        EXPECT_EQ(Start(), TStartupResult::CheckFailed);
        ExpectOnlyError(c.message);
        for (const std::string& file : c.removed) install_.Add(file);
    }
}

TEST_F(StartupTest, NoMmxIsTestedBeforeAnythingElse) {
    cpu_ = {};
    install_.Remove("system/divx.dll");
    install_.Remove("system/xvidvfw.dll");
    EXPECT_EQ(Start(), TStartupResult::CheckFailed);
    ExpectOnlyError(kNoMmxMessage);
    // The check set both codec flags before it stopped.
    EXPECT_TRUE(program_.XviDInstalled && program_.DivXInstalled);
}

// The subtitle components and the archiver are tested where they are used, not at start.
TEST_F(StartupTest, OptionalComponentsAreNotRequired) {
    for (const char* file : {"filters/vsfilter.dll", "system/vobsub.dll", "WinRAR/rar.exe"})
        install_.Remove(file);
    EXPECT_EQ(Start(), TStartupResult::Ready);
    EXPECT_TRUE(dialogs_.Messages.empty());
}

TEST_F(StartupTest, FailedCheckLeavesTheRegistryAlone) {
    install_.Remove("filters/chr.dll");
    EXPECT_EQ(Start(), TStartupResult::CheckFailed);
    EXPECT_EQ(Registered(platform::RootKey::LocalMachine, kNtDrivers, "VIDC.YV12"), "<none>");
    EXPECT_FALSE(std::filesystem::exists(install_.UserHive()));
}

TEST_F(StartupTest, CodecLayoutsChooseTheXviDBuildAndTheYv12Decoder) {
    const struct {
        std::vector<std::string> present;
        bool newXviD, xvid, divx;
        std::string codecFile, yv12;
    } cases[] = {
        {{"xvidcore.dll", "xvidvfw.dll"}, true, true, false, "xvidvfw.dll", "xvidvfw.dll"},
        {{"xvid.dll", "divx.dll"}, false, true, true, "xvid.dll", "divx.dll"},
        {{"xvidcore.dll", "xvidvfw.dll", "divx.dll"}, true, true, true, "xvidvfw.dll", "divx.dll"},
        {{"xvid.dll"}, false, true, false, "xvid.dll", "xvid.dll"},
        {{"divx.dll", "xvidcore.dll"}, false, false, true, "xvid.dll", "divx.dll"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.yv12 + " with " + c.present.front());
        for (const char* file : {"xvid.dll", "xvidcore.dll", "xvidvfw.dll", "divx.dll"})
            install_.Remove(std::string("system/") + file);
        for (const std::string& file : c.present) install_.Add("system/" + file);
        ASSERT_EQ(Start(), TStartupResult::Ready);
        EXPECT_EQ(program_.NewXviD, c.newXviD);
        EXPECT_EQ(program_.XviDInstalled, c.xvid);
        EXPECT_EQ(program_.DivXInstalled, c.divx);
        EXPECT_EQ(program_.XviDCodecPath, install_.SystemDir() + c.codecFile);
        EXPECT_EQ(Registered(platform::RootKey::LocalMachine, kNtDrivers, "VIDC.YV12"), c.yv12);
    }
}

TEST_F(StartupTest, OnlyTheCoreOfTheNewXviDIsNoCodec) {
    for (const char* file : {"system/xvidvfw.dll", "system/divx.dll"}) install_.Remove(file);
    EXPECT_EQ(Start(), TStartupResult::CheckFailed);
    ExpectOnlyError(kNoCodecMessage);
}

TEST_F(StartupTest, MissingRegistrationsLeavePathsEmpty) {
    platform::UpdateHive(install_.MachineHive(), [](platform::Hive& hive) {
        hive.DeleteKey("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall");
        hive.DeleteValue("SOFTWARE\\Microsoft\\Windows\\CurrentVersion", "ProgramFilesDir");
        hive.DeleteKey("SOFTWARE\\Microsoft\\Windows NT");
    });
    EXPECT_EQ(Start(), TStartupResult::Ready);
    EXPECT_TRUE(dialogs_.Messages.empty());
    EXPECT_EQ(program_.RarPath, "");
    EXPECT_EQ(program_.MediaPlayerPath, "");
    // A drivers table that is not there is not made.
    platform::Hive hive = platform::LoadHive(install_.MachineHive());
    EXPECT_FALSE(hive.KeyExists("SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Drivers32"));
    EXPECT_EQ(Registered(platform::RootKey::LocalMachine, k9xDrivers, "VIDC.YV12"), "divx.dll");
}

TEST_F(StartupTest, DamagedHiveIsNamedAndTheProgramStillStarts) {
    testing_support::TempDir scratch;
    scratch.Write("machine.reg", "Windows Registry Editor Version 5.00\n\n[Broken\n");
    std::filesystem::copy_file(scratch.File("machine.reg"), install_.MachineHive(),
                               std::filesystem::copy_options::overwrite_existing);
    EXPECT_EQ(Start(), TStartupResult::Ready);
    ASSERT_EQ(dialogs_.Messages.size(), 2u);  // reading the paths, writing the YV12 entry
    for (const ShownMessage& m : dialogs_.Messages) {
        EXPECT_EQ(m.Kind, MessageKind::Warning);
        EXPECT_NE(m.Text.find(install_.MachineHive()), std::string::npos) << m.Text;
    }
    EXPECT_EQ(program_.RarPath, "");
    // The current user's entries are written all the same.
    platform::Registry user(platform::RootKey::CurrentUser);
    EXPECT_TRUE(user.OpenKeyReadOnly("\\SOFTWARE\\Freeware\\VirtualDubMod\\Persistence"));
}

TEST_F(StartupTest, EssMarkerAndAnotherWorkingDirectory) {
    install_.Add(".ess");
    EXPECT_EQ(Start(), TStartupResult::Ready);
    EXPECT_TRUE(program_.EssMarker);

    // Started elsewhere, the tools are looked for below that folder.
    testing_support::TempDir elsewhere;
    TMachine machine{elsewhere.Path(), install_.SystemDir(), cpu_};
    dialogs_.Messages.clear();
    EXPECT_EQ(RunStartup(dialogs_, machine, program_, state_, settings_),
              TStartupResult::CheckFailed);
    ExpectOnlyError(elsewhere.Path() + "/VDubMod/VirtualDubMod.exe" + kToolMissingSuffix);
    EXPECT_EQ(program_.VDubModPath, "");
}

}  // namespace
