#include "app/Messages.h"
#include "app/Startup.h"
#include "platform/files.h"

namespace {

// The frame server's plug-ins every job needs, in the order they are tested.
constexpr const char* kRequiredPlugins[] = {
    "/filters/mpeg2dec3dg.dll", "/filters/autocrop.dll", "/filters/undot.dll",
    "/filters/decomb.dll",      "/filters/chr.dll",      "/filters/kerneldeint.dll",
};

bool Fail(IDialogs& dialogs, const std::string& text) {
    dialogs.Message(MessageKind::Error, text);
    return false;
}

bool FindCodecs(const TMachine& machine, TProgramValues& program) {
    program.NewXviD = platform::FileExists(machine.SystemDir + "xvidcore.dll") &&
                      platform::FileExists(machine.SystemDir + "xvidvfw.dll");
    program.XviDCodecPath = machine.SystemDir + (program.NewXviD ? "xvidvfw.dll" : "xvid.dll");
    program.XviDInstalled = platform::FileExists(program.XviDCodecPath);
    program.DivXInstalled = platform::FileExists(program.DivXCodecPath);
    return program.XviDInstalled || program.DivXInstalled;
}

}  // namespace

bool appOK(const TMachine& machine, TProgramValues& program, IDialogs& dialogs) {
    program.XviDInstalled = true;
    program.DivXInstalled = true;
    program.HasMMX = machine.Cpu.mmx;
    if (!program.HasMMX) return Fail(dialogs, kNoMmxMessage);
    if (!FindCodecs(machine, program)) return Fail(dialogs, kNoCodecMessage);
    if (!platform::FileExists(program.AviSynthPath)) return Fail(dialogs, kNoAviSynthMessage);
    if (!platform::FileExists(program.VDubModPath))
        return Fail(dialogs,
                    program.ProgramDir + "/VDubMod/VirtualDubMod.exe" + kToolMissingSuffix);
    if (!platform::FileExists(program.BeSweetPath))
        return Fail(dialogs, program.BeSweetPath + kToolMissingSuffix);
    if (!platform::FileExists(program.DVD2AVIPath))
        return Fail(dialogs, program.DVD2AVIPath + kToolMissingSuffix);
    for (const char* plugin : kRequiredPlugins) {
        const std::string path = program.ProgramDir + plugin;
        if (!platform::FileExists(path)) return Fail(dialogs, path + kToolMissingSuffix);
    }
    return true;
}
