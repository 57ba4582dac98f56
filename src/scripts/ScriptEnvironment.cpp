#include "jobs/ProgramValues.h"
#include "scripts/avs.h"

TScriptEnvironment ScriptEnvironmentFor(const TProgramValues& program) {
    TScriptEnvironment env;
    env.ProgramDir = program.ProgramDir;
    env.HasSSE = program.HasSSE;
    return env;
}

TScriptEnvironment ProgramScriptEnvironment() {
    return ScriptEnvironmentFor(Program());
}

std::string AudioTrackName(const TVobInfo& vobInfo, int32_t track) {
    if (track < 0 || track >= vobInfo.AudioCount || track >= kMaxAudioTracks) return "";
    return vobInfo.Audio[static_cast<size_t>(track)].Language;
}
