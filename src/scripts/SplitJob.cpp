#include "scripts/JobText.h"
#include "scripts/avs.h"

namespace {

// The AVI's own audio stream `index` ("auds" read as a little-endian number), copied directly.
void AddAviAudio(TScriptLines& lines, int index, uint8_t audioMode) {
    const std::string s = "VirtualDub.stream[" + std::to_string(index) + "].";
    const std::string source = s + "SetSource(0x73647561," + std::to_string(index) + ",";
    const TAudioForm form = AudioFormOfMode(audioMode);
    if (form == TAudioForm::None) return;
    // The second stream is marked variable-rate in the AC3 mode too, as the first never is.
    const bool vbrFlag = form == TAudioForm::VbrMp3 || (index == 1 && form == TAudioForm::Ac3);
    lines.push_back(source + (vbrFlag ? "1);" : "0);"));
    lines.push_back(s + "SetMode(0);");
    if (form == TAudioForm::VbrMp3) lines.push_back(s + "SetInterleave(1,500,1,0,0);");
    if (form == TAudioForm::CbrMp3) lines.push_back(s + "SetInterleave(1,500,2,0,0);");
    if (form == TAudioForm::Ac3) lines.push_back(s + "SetInterleave(1,96,96,1,0);");
}

}  // namespace

void MakeSplitJob(TScriptLines& lines, const std::string& sourceAvi, const std::string& partAvi,
                  int64_t firstFrame, int64_t frameCount, uint8_t audioMode, bool hasAudio2,
                  const std::string& audioName1, const std::string& audioName2,
                  const TScriptEnvironment& env) {
    lines.clear();
    lines.push_back(OpenLine(sourceAvi));
    lines.push_back("VirtualDub.RemoveInputStreams();");
    AddAviAudio(lines, 0, audioMode);
    lines.push_back(CommentLine("IAS1", audioName1, env.Ansi));
    if (hasAudio2) {
        AddAviAudio(lines, 1, audioMode);
        lines.push_back(CommentLine("IAS2", audioName2, env.Ansi));
    }
    AddDirectCopyVideoLines(lines);
    lines.push_back("VirtualDub.subset.Clear();");
    lines.push_back("VirtualDub.subset.AddRange(" + std::to_string(firstFrame) + "," +
                    std::to_string(frameCount) + ");");
    lines.push_back(SaveAviLine(partAvi));
}
