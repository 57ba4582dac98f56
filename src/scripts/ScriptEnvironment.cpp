#include "jobs/ProgramValues.h"
#include "scripts/avs.h"

TScriptEnvironment ProgramScriptEnvironment() {
    TScriptEnvironment env;
    env.ProgramDir = Program().ProgramDir;
    env.HasSSE = Program().HasSSE;
    return env;
}

std::string AudioTrackName(const TVobInfo& vobInfo, int32_t track) {
    if (track < 0 || track >= vobInfo.AudioCount || track >= kMaxAudioTracks) return "";
    return vobInfo.Audio[static_cast<size_t>(track)].Language;
}
