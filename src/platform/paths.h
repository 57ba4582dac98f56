#pragma once
// Where the installation, the system folder and the user's configuration live. The planner and
// every helper program find them the same way, so tests can point all of them at temporary
// folders through the environment:
//   MOVREX_SYSTEM_DIR   the "system folder" (codecs, frame server, rundll32)
//   MOVREX_CONFIG_DIR   the user's configuration folder (movrex.ini, the current-user hive)
//   MOVREX_MACHINE_HIVE the local-machine hive file
// Without them the system folder is "system" below the installation folder (the nearest folder
// above the running executable that has one), and the configuration folder is
// $XDG_CONFIG_HOME/movrex, else ~/.config/movrex.
#include <string>

namespace platform {

// Path separator of this platform, as a character and as a string.
inline constexpr char kPathDelim = '/';
inline constexpr const char* kPathDelimStr = "/";

// Folder of the running executable, without a trailing separator.
std::string ExecutableDir();

// The installation folder: nearest folder at or above ExecutableDir() that has a "system"
// subfolder; the current folder when there is none.
std::string InstallDir();

// The system folder, without a trailing separator.
std::string SystemFolder();

// The user's configuration folder, without a trailing separator (created on first write, not here).
std::string ConfigFolder();

// Hive files.
std::string CurrentUserHivePath();   // ConfigFolder() + "/user.reg"
std::string LocalMachineHivePath();  // $MOVREX_MACHINE_HIVE, else SystemFolder() + "/machine.reg"

// Folder for run-time locks (single instance): $XDG_RUNTIME_DIR, else /tmp.
std::string RuntimeFolder();

// The current working folder, without a trailing separator.
std::string CurrentDir();

}  // namespace platform
