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

// PRETTY_NAME of an os-release text (shell-style quotes removed, control characters dropped);
// empty when it has none or its value is malformed. The last assignment counts.
std::string OsReleasePrettyName(const std::string& osReleaseText);

// A named lock held for the life of the object (a locked file "<name>.lock" in `folder`, else in
// RuntimeFolder(); a "/" of the name given as "_"). A second holder, in this process or another,
// is refused. The lock is not handed down to programs started meanwhile, and a holder that dies
// releases it.
class SingleInstance {
  public:
    explicit SingleInstance(const std::string& name);
    SingleInstance(const std::string& name, const std::string& folder);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;
    bool Acquired() const { return fd_ >= 0; }
    // Why the lock file could not be opened (a missing or read-only folder); empty when it was
    // acquired or another holder has it.
    const std::string& Error() const { return error_; }

  private:
    int fd_ = -1;
    std::string error_;
};

// An exclusive lock on a folder, held for the life of the object against every other holder, in
// this process or another; a holder that dies releases it. A folder that cannot be opened or
// locked at all (some network file systems) is not refused: only a real holder refuses.
class FolderLock {
  public:
    explicit FolderLock(const std::string& folder);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;
    bool Refused() const { return refused_; }

  private:
    int fd_ = -1;
    bool refused_ = false;
};

// Asks the system to power off (systemctl poweroff, else shutdown -P now). Returns whether the
// request could be handed over; it does not wait for the power-off or for either program.
bool RequestPowerOff();

// Opens a file or URL with the desktop's default handler (xdg-open from PATH), without waiting
// and without leaving a child to collect. False when xdg-open is missing or cannot be started.
bool ShellOpen(const std::string& target);

}  // namespace platform
