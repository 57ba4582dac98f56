#include "scripts/JobText.h"
#include "scripts/avs.h"

void MakeAnalysisJob(TScriptLines& lines, const std::string& inputScript,
                     const std::string& outputAvi) {
    lines.clear();
    lines.push_back(OpenLine(inputScript));
    lines.push_back("VirtualDub.RemoveInputStreams();");
    lines.push_back("VirtualDub.video.SetDepth(24,24);");
    lines.push_back("VirtualDub.video.SetMode(0);");
    lines.push_back("VirtualDub.video.SetFrameRate(0,1);");
    lines.push_back("VirtualDub.video.SetIVTC(0,0,-1,0);");
    lines.push_back("VirtualDub.video.SetCompression();");
    lines.push_back("VirtualDub.video.filters.Clear();");
    lines.push_back("VirtualDub.subset.Delete();");
    lines.push_back(SaveAviLine(outputAvi));
}

void MakeVideoJob(TScriptLines& lines, const std::string& inputScript, const std::string& outputAvi,
                  uint8_t codec, const TScriptEnvironment& env) {
    lines.clear();
    AddVideoJobHead(lines, inputScript, codec, env);
    lines.push_back(SaveAviLine(outputAvi));
}
