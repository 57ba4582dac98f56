#include "app/Startup.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "util/utils.h"

namespace {

constexpr const char* kVDubModTool = "/VDubMod/VirtualDubMod.exe";

}  // namespace

TMachine ThisMachine() {
    TMachine machine;
    machine.CurrentDir = platform::CurrentDir();
    machine.SystemDir = SystemDirectory();
    machine.Cpu = platform::DetectCpuFeatures();
    return machine;
}

void SetToolPaths(const TMachine& machine, TProgramValues& program) {
    program.ProgramDir = platform::ShortPathName(machine.CurrentDir);
    program.DVD2AVIPath = program.ProgramDir + "/DVD2AVI/DVD2AVIdg.exe";
    program.BeSweetPath = program.ProgramDir + "/BeSweet/BeSweet.exe";
    program.VobSubPath = machine.SystemDir + "vobsub.dll";
    program.DivXCodecPath = machine.SystemDir + "divx.dll";
    program.AviSynthPath = machine.SystemDir + "avisynth.dll";
    // A short name exists only for a file that is there.
    const std::string vdubMod = program.ProgramDir + kVDubModTool;
    program.VDubModPath = platform::FileExists(vdubMod) ? platform::ShortPathName(vdubMod) : "";
}

std::string Yv12DecoderName(const TProgramValues& program) {
    if (program.DivXInstalled) return "divx.dll";
    return program.NewXviD ? "xvidvfw.dll" : "xvid.dll";
}
