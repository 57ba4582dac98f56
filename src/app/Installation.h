#pragma once
// What the install step registers on the local machine for an installation folder: the program
// files folder (where the preview player lives), the archiver's uninstall entry (beside which the
// command-line archiver lives) and the codec drivers table that opens the codecs by their codes.
#include <string>

// Adds the entries to the hive file `hiveFile` (made when missing), keeping every other value.
// Throws platform::RegistryError when the hive cannot be read or written.
void RegisterInstallation(const std::string& hiveFile, const std::string& programDir);
