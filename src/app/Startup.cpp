#include "app/Startup.h"

#include <functional>

#include "app/Messages.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/registry.h"

namespace {

// A hive that cannot be read or written leaves the values it would give empty; the user is told
// which file is at fault, and the program goes on.
void Guarded(IDialogs& dialogs, const std::function<void()>& step) {
    try {
        step();
    } catch (const platform::RegistryError& e) {
        dialogs.Message(MessageKind::Warning, e.what());
    }
}

void ResetRunState(TRunState& state, TEncRecord& settings) {
    state.CurrentJob = -1;
    state.StateFlags = Idle;
    settings.SubTrack = -1;
    settings.TargetSize = 1400;
    state.PreviewIndexFile.Set("");
    state.PreviewSubsFile.Set("");
}

}  // namespace

std::unique_ptr<platform::SingleInstance> ConfigFolderLock() {
    const std::string folder = platform::ConfigFolder();
    platform::ForceDirectories(folder);
    return std::make_unique<platform::SingleInstance>(kApplicationTitle, folder);
}

TStartupResult RunStartup(IDialogs& dialogs, const TMachine& machine, TProgramValues& program,
                          TRunState& state, TEncRecord& settings) {
    SetToolPaths(machine, program);
    // The program ends after a failed check; the registry is left as it was.
    if (!appOK(machine, program, dialogs)) return TStartupResult::CheckFailed;
    const std::string decoder = Yv12DecoderName(program);
    Guarded(dialogs, [&] { ReadRegisteredPaths(program); });
    Guarded(dialogs, [&] { PrepareRegistry(decoder); });
    program.HasSSE = machine.Cpu.sse;
    program.HasSSE2 = machine.Cpu.sse2;
    program.FormatSettings = platform::ProgramFormat();
    ResetRunState(state, settings);
    program.EssMarker = platform::FileExists(program.ProgramDir + "/.ess");
    return TStartupResult::Ready;
}
