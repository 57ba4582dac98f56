#include "platform/paths.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace platform {
namespace {

std::string EnvOr(const char* name, const std::string& fallback) {
    const char* value = std::getenv(name);
    return value && *value ? std::string(value) : fallback;
}

std::string StripTrailingDelim(std::string path) {
    while (path.size() > 1 && path.back() == kPathDelim) path.pop_back();
    return path;
}

}  // namespace

std::string ExecutableDir() {
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return CurrentDir();
    return exe.parent_path().string();
}

std::string InstallDir() {
    std::filesystem::path dir = ExecutableDir();
    std::error_code ec;
    // The helpers live one or two levels below the installation folder.
    for (int level = 0; level < 4 && !dir.empty(); ++level) {
        if (std::filesystem::is_directory(dir / "system", ec)) return dir.string();
        if (dir == dir.root_path()) break;
        dir = dir.parent_path();
    }
    return CurrentDir();
}

std::string SystemFolder() {
    const char* value = std::getenv("MOVREX_SYSTEM_DIR");
    if (value && *value) return StripTrailingDelim(value);
    return InstallDir() + kPathDelimStr + "system";
}

std::string ConfigFolder() {
    const char* value = std::getenv("MOVREX_CONFIG_DIR");
    if (value && *value) return StripTrailingDelim(value);
    std::string base = EnvOr("XDG_CONFIG_HOME", "");
    if (base.empty()) base = EnvOr("HOME", "/tmp") + "/.config";
    return StripTrailingDelim(base) + "/movrex";
}

std::string CurrentUserHivePath() {
    return ConfigFolder() + "/user.reg";
}

std::string LocalMachineHivePath() {
    return EnvOr("MOVREX_MACHINE_HIVE", SystemFolder() + "/machine.reg");
}

std::string RuntimeFolder() {
    return StripTrailingDelim(EnvOr("XDG_RUNTIME_DIR", "/tmp"));
}

std::string CurrentDir() {
    std::error_code ec;
    auto dir = std::filesystem::current_path(ec);
    return ec ? std::string(".") : StripTrailingDelim(dir.string());
}

}  // namespace platform
