#pragma once
// Small system services: processor features, the running system's name, one running copy,
// power-off, and opening a document with the desktop's default handler.
#include <string>

namespace platform {

struct CpuFeatures {
    bool mmx = false;
    bool sse = false;
    bool sse2 = false;
};
// CPUID function 1 on x86 (EDX bits 23, 25, 26); all false elsewhere.
CpuFeatures DetectCpuFeatures();

struct OsVersion {
    bool known = false;
    std::string name;     // "Linux"
    std::string release;  // kernel release, "6.1.0-18-amd64"
    std::string distro;   // PRETTY_NAME of /etc/os-release, "Debian GNU/Linux 12 (bookworm)"
    std::string machine;  // "x86_64"
};
OsVersion QueryOsVersion();

// A named lock held for the life of the object (a locked file in RuntimeFolder()). A second
// holder, in this process or another, is refused.
class SingleInstance {
  public:
    explicit SingleInstance(const std::string& name);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;
    bool Acquired() const { return fd_ >= 0; }

  private:
    int fd_ = -1;
};

// Asks the system to power off (systemctl poweroff, else shutdown -P now). Returns whether the
// request could be handed over; it does not wait for the power-off.
bool RequestPowerOff();

// Opens a file or URL with the desktop's default handler (xdg-open), without waiting.
bool ShellOpen(const std::string& target);

}  // namespace platform
