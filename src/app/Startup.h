#pragma once
// The start of the program up to the main window: where the tools live, the environment check
// with its messages, the paths registered on the local machine, the registry entries the tools
// expect, and the first values of the run state. The window program and the headless program run
// the same sequence; only the window's own steps (caption, tray icon, log view) are left to it.
#include <memory>
#include <string>

#include "app/Dialogs.h"
#include "jobs/ProgramValues.h"
#include "jobs/globals.h"
#include "platform/system.h"

// The lock that lets one copy of the program, window or headless, run on a configuration folder:
// the runs keep the codecs' settings in its current-user hive, so two copies on one folder would
// see each other's. Copies with folders of their own (MOVREX_CONFIG_DIR) run side by side, on one
// machine or on several that share the folder. The folder is made when it is missing.
std::unique_ptr<platform::SingleInstance> ConfigFolderLock();

// What start-up reads of the machine; tests give their own.
struct TMachine {
    std::string CurrentDir;  // the working directory, the program's folder
    std::string SystemDir;   // the system folder, ending in the separator
    platform::CpuFeatures Cpu;
};
TMachine ThisMachine();

// ProgramDir and the paths of the tools that come with the program or live in the system folder.
void SetToolPaths(const TMachine& machine, TProgramValues& program);

// The environment check: processor, codecs, frame server, tools, plug-ins, in this order. The
// first failure is reported with its message and ends the check.
bool appOK(const TMachine& machine, TProgramValues& program, IDialogs& dialogs);

// The codec registered as the system's YV12 decompressor.
std::string Yv12DecoderName(const TProgramValues& program);

// The media player and the archiver as registered on the local machine; a path stays empty when
// its key or value is missing. Throws platform::RegistryError for a damaged hive.
void ReadRegisteredPaths(TProgramValues& program);

// The YV12 decoder entry of both drivers tables (where they exist) and the tools' own settings
// that mark their welcome and warnings as seen. Throws platform::RegistryError when a hive is
// damaged or cannot be written.
void PrepareRegistry(const std::string& yv12Decoder);

enum class TStartupResult { Ready, CheckFailed };

// The whole sequence. A damaged or unwritable hive does not stop the program: its message is
// shown as a warning and the paths it would have given stay empty.
TStartupResult RunStartup(IDialogs& dialogs, const TMachine& machine = ThisMachine(),
                          TProgramValues& program = Program(), TRunState& state = RunState(),
                          TEncRecord& settings = EncSettings());
