#include "platform/system.h"
#include "util/utils.h"

namespace {

std::string Windows9xName(const WindowsVersion& v) {
    if (v.major != 4) return "";
    if (v.minor == 0) return "Win95";
    if (v.minor == 10)
        return v.servicePack.size() > 1 && v.servicePack[1] == 'A' ? "Win98SE" : "Win98";
    if (v.minor == 90) return "WinME";
    return "";
}

std::string WindowsNtName(const WindowsVersion& v) {
    if (v.major <= 4) return "WinNT";
    if (v.major == 5 && v.minor == 0) return "Win2000";
    if (v.major == 5 && v.minor == 1) return "WinXP";
    return "";
}

std::string WindowsName(const WindowsVersion& v) {
    std::string name;
    if (v.known && v.platformId == 1) name = Windows9xName(v);
    if (v.known && v.platformId == 2) name = WindowsNtName(v);
    return name.empty() ? "WinUnknown" : name;
}

}  // namespace

std::string WindowsVersionText(const WindowsVersion& v) {
    return WindowsName(v) + " (" + std::to_string(v.major) + "." + std::to_string(v.minor) + "." +
           std::to_string(v.build) + ")." + std::to_string(v.platformId);
}

// Keeps the shape of the Windows line: the name, the version in parentheses, and after the dot
// what tells platforms apart (the platform id there, the distribution here), so that job logs
// from either kind of machine read alike.
std::string LinuxVersionText(const platform::OsVersion& v) {
    const std::string name = v.known && !v.name.empty() ? v.name : "Unknown";
    const std::string release = v.known && !v.release.empty() ? v.release : "unknown";
    const std::string more = !v.known ? "" : !v.distro.empty() ? v.distro : v.machine;
    return name + " (" + release + ")." + more;
}

std::string OsVersionText() {
    return LinuxVersionText(platform::QueryOsVersion());
}
