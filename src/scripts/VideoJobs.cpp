#include "scripts/JobText.h"
#include "scripts/avs.h"

void MakeAnalysisJob(TScriptLines& lines, const std::string& inputScript,
                     const std::string& outputAvi) {
    lines.clear();
    lines.push_back(OpenLine(inputScript));
    lines.push_back("VirtualDub.RemoveInputStreams();");
    AddDirectCopyVideoLines(lines);
    lines.push_back("VirtualDub.subset.Delete();");
    lines.push_back(SaveAviLine(outputAvi));
}

void MakeVideoJob(TScriptLines& lines, const std::string& inputScript, const std::string& outputAvi,
                  uint8_t codec, const TScriptEnvironment& env) {
    lines.clear();
    AddVideoJobHead(lines, inputScript, codec, env);
    lines.push_back(SaveAviLine(outputAvi));
}
