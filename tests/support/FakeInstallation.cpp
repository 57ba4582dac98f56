#include "support/FakeInstallation.h"

#include <sys/stat.h>

#include <filesystem>

#include "platform/registry.h"

namespace testing_support {

const char* const FakeInstallation::kFiles[] = {
    "DVD2AVI/DVD2AVIdg.exe",
    "BeSweet/BeSweet.exe",
    "VDubMod/VirtualDubMod.exe",
    "filters/mpeg2dec3dg.dll",
    "filters/autocrop.dll",
    "filters/undot.dll",
    "filters/decomb.dll",
    "filters/chr.dll",
    "filters/kerneldeint.dll",
    "filters/vsfilter.dll",
    "system/xvidcore.dll",
    "system/xvidvfw.dll",
    "system/divx.dll",
    "system/avisynth.dll",
    "system/vobsub.dll",
    "WinRAR/rar.exe",
    "Program Files/Windows Media Player/mplayer2.exe",
    nullptr,
};

namespace {

void WriteMachineHive(const std::string& hive, const std::string& programDir) {
    platform::UpdateHive(hive, [&](platform::Hive& h) {
        const auto set = [&](const std::string& key, const std::string& name,
                             const std::string& text) {
            h.CreateKey(key);
            platform::RegistryValue value;
            value.type = platform::RegistryValue::Type::String;
            value.text = text;
            h.SetValue(key, name, value);
        };
        set("SOFTWARE\\Microsoft\\Windows\\CurrentVersion", "ProgramFilesDir",
            programDir + "/Program Files");
        set("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\WinRAR archiver",
            "UninstallString", programDir + "/WinRAR/uninstall.exe");
        for (const char* key : {"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Drivers32",
                                "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Drivers32"}) {
            set(key, "VIDC.XVID", "xvidvfw.dll");
            set(key, "VIDC.DX50", "divx.dll");
            set(key, "VIDC.DIVX", "divx.dll");
        }
    });
}

// The programs the jobs start, as the stand-ins the tests build (tests/helpers), and the codec
// module the job scripts ask for their state.
const char* const kStandIns[][2] = {
    {"DVD2AVI/DVD2AVIdg.exe", "stage_dvd2avi"}, {"BeSweet/BeSweet.exe", "stage_besweet"},
    {"VDubMod/VirtualDubMod.exe", "fake_vdub"}, {"WinRAR/rar.exe", "stage_rar"},
    {"system/rundll32", "stage_rundll32"},
};

}  // namespace

void FakeInstallation::AddStandIns() const {
    namespace fs = std::filesystem;
    for (const auto& [relative, helper] : kStandIns) {
        fs::create_directories(fs::path(PathOf(relative)).parent_path());
        fs::copy_file(std::string(MOVREX_TEST_HELPER_DIR) + "/" + helper, PathOf(relative),
                      fs::copy_options::overwrite_existing);
    }
    fs::copy_file(MOVREX_TEST_CODEC_MODULE, PathOf("system/xvidvfw.dll"),
                  fs::copy_options::overwrite_existing);
}

FakeInstallation::FakeInstallation(const std::string& folder)
    : programDir_(root_.File(folder)),
      systemDir_(root_.File(folder + "/system")),
      configDir_(root_.File("config")) {
    std::filesystem::create_directories(systemDir_);
    std::filesystem::create_directories(configDir_);
    systemEnv_ = std::make_unique<ScopedEnv>("MOVREX_SYSTEM_DIR", systemDir_);
    configEnv_ = std::make_unique<ScopedEnv>("MOVREX_CONFIG_DIR", configDir_);
    hiveEnv_ = std::make_unique<ScopedEnv>("MOVREX_MACHINE_HIVE", MachineHive());
    runtimeEnv_ = std::make_unique<ScopedEnv>("XDG_RUNTIME_DIR", root_.Path());
    for (const char* const* file = kFiles; *file; ++file) Add(*file);
    WriteMachineHive(MachineHive(), programDir_);
    AddStandIns();
}

FakeInstallation::~FakeInstallation() = default;

std::string FakeInstallation::PathOf(const std::string& relative) const {
    if (relative.rfind("system/", 0) == 0) return systemDir_ + relative.substr(6);
    return programDir_ + "/" + relative;
}

void FakeInstallation::Add(const std::string& relative, const std::string& text) const {
    const std::filesystem::path path = PathOf(relative);
    std::filesystem::create_directories(path.parent_path());
    root_.Write(std::filesystem::relative(path, root_.Path()).string(), text);
}

void FakeInstallation::Remove(const std::string& relative) const {
    std::filesystem::remove(PathOf(relative));
}

void FakeInstallation::AddProgram(const std::string& relative, const std::string& script) const {
    Add(relative, script);
    chmod(PathOf(relative).c_str(), 0755);
}

}  // namespace testing_support
