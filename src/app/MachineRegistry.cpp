#include "app/Startup.h"

#include <functional>
#include <optional>

#include "platform/registry.h"

namespace {

using platform::Registry;
using platform::RegistryError;
using platform::RootKey;

// Runs `use` on an accessor of `root`; an error that does not name the hive file yet is given its
// name, so that the user learns which file is at fault.
template <class F>
void InHive(RootKey root, F&& use) {
    Registry registry(root);
    try {
        use(registry);
    } catch (const RegistryError& e) {
        const std::string what = e.what();
        if (what.find(registry.HiveFile()) != std::string::npos) throw;
        throw RegistryError(registry.HiveFile() + ": " + what);
    }
}

// The folder part of a path, without its trailing separator.
std::string FolderOf(const std::string& path) {
    const size_t cut = path.find_last_of('/');
    return cut == std::string::npos ? std::string() : path.substr(0, cut);
}

// A string value of a local-machine key that is not created when missing; empty when absent.
std::string RegisteredString(const std::string& key, const std::string& name) {
    std::string value;
    InHive(RootKey::LocalMachine, [&](Registry& registry) {
        if (registry.OpenKeyReadOnly(key) && registry.ValueExists(name))
            value = registry.ReadString(name);
    });
    return value;
}

void WriteDriverEntry(const std::string& key, const std::string& decoder) {
    InHive(RootKey::LocalMachine, [&](Registry& registry) {
        if (registry.OpenKey(key, false)) registry.WriteString("VIDC.YV12", decoder);
    });
}

constexpr const char* kNtDrivers = "\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Drivers32";
constexpr const char* k9xDrivers = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Drivers32";

// The job runner's welcome and its codec warning count as seen, so it never stops a job to ask.
void MarkVDubModSeen() {
    InHive(RootKey::CurrentUser, [](Registry& user) {
        if (user.OpenKey("\\SOFTWARE\\Freeware\\VirtualDubMod", true)) {
            user.WriteInteger("SeenWelcome", 1);
            user.WriteInteger("VirtualDub", 1);
            user.WriteInteger("SeenDivXWarning", 1);
        }
        if (user.OpenKey("\\SOFTWARE\\Freeware\\VirtualDubMod\\Persistence", true))
            user.WriteInteger("Save edit list", 1);
    });
}

}  // namespace

void ReadRegisteredPaths(TProgramValues& program) {
    const std::string programFiles =
        RegisteredString("\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion", "ProgramFilesDir");
    if (!programFiles.empty())
        program.MediaPlayerPath = programFiles + "/Windows Media Player/mplayer2.exe";
    const std::string uninstaller = RegisteredString(
        "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\WinRAR archiver",
        "UninstallString");
    if (!uninstaller.empty()) program.RarPath = FolderOf(uninstaller) + "/rar.exe";
}

void PrepareRegistry(const std::string& yv12Decoder) {
    // Each entry is tried even when an earlier one failed; the first failure is reported.
    std::optional<RegistryError> failure;
    const auto attempt = [&](const std::function<void()>& write) {
        try {
            write();
        } catch (const RegistryError& e) {
            if (!failure) failure = e;
        }
    };
    attempt([&] { WriteDriverEntry(kNtDrivers, yv12Decoder); });
    attempt([&] { WriteDriverEntry(k9xDrivers, yv12Decoder); });
    attempt([] { MarkVDubModSeen(); });
    if (failure) throw *failure;
}
