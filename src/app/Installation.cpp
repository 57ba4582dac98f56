#include "app/Installation.h"

#include "platform/registry.h"

namespace {

using platform::Hive;

void SetString(Hive& hive, const std::string& key, const std::string& name,
               const std::string& text) {
    hive.CreateKey(key);
    platform::RegistryValue value;
    value.type = platform::RegistryValue::Type::String;
    value.text = text;
    hive.SetValue(key, name, value);
}

// Both tables: older installations keep theirs under the 9x key.
constexpr const char* kDriverTables[] = {
    "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Drivers32",
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Drivers32",
};

}  // namespace

void RegisterInstallation(const std::string& hiveFile, const std::string& programDir) {
    platform::UpdateHive(hiveFile, [&](Hive& hive) {
        SetString(hive, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion", "ProgramFilesDir",
                  programDir + "/Program Files");
        SetString(hive, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\WinRAR archiver",
                  "UninstallString", programDir + "/WinRAR/uninstall.exe");
        for (const char* table : kDriverTables) {
            SetString(hive, table, "VIDC.XVID", "xvidvfw.dll");
            SetString(hive, table, "VIDC.DX50", "divx.dll");
            // The job scripts ask for the DivX compressor by "divx", so that code is needed too.
            SetString(hive, table, "VIDC.DIVX", "divx.dll");
        }
    });
}
