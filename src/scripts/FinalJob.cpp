#include <algorithm>
#include <cctype>

#include "scripts/JobText.h"
#include "scripts/avs.h"

namespace {

std::string Stream(int index) {
    return "VirtualDub.stream[" + std::to_string(index) + "].";
}

// SetSource, SetMode and SetInterleave of one audio file; the delay comes from its name.
void AddAudioFile(TScriptLines& lines, int index, const std::string& file, TAudioForm form,
                  const TScriptEnvironment& env) {
    const std::string s = Stream(index);
    const std::string source = s + "SetSource(\"" + AudioSourcePath(file, env.Ansi) + "\",";
    const std::string delay = std::to_string(AudioDelayOf(file));
    if (form == TAudioForm::VbrMp3) {
        lines.push_back(source + "0x00000202,1);");
        lines.push_back(s + "SetMode(0);");
        lines.push_back(s + "SetInterleave(1,500,1,0," + delay + ");");
    } else if (form == TAudioForm::CbrMp3) {
        lines.push_back(source + "0x00000202,0);");
        lines.push_back(s + "SetMode(0);");
        lines.push_back(s + "SetInterleave(1,500,2,0," + delay + ");");
    } else if (form == TAudioForm::Ac3) {
        lines.push_back(source + "0x00000203,0);");
        lines.push_back(s + "SetMode(0);");
        lines.push_back(s + "SetInterleave(1,96,96,1," + delay + ");");
    }
}

void AddStreamTail(TScriptLines& lines, int index, const std::string& name,
                   const TScriptEnvironment& env) {
    const std::string s = Stream(index);
    lines.push_back(s + "SetClipMode(1,1);");
    lines.push_back(s + "SetConversion(0,0,0,0,0);");
    lines.push_back(s + "SetVolume();");
    lines.push_back(s + "SetCompression();");
    lines.push_back(CommentLine(index == 0 ? "IAS1" : "IAS2", name, env.Ansi));
}

bool HasAc3Extension(const std::string& file) {
    const size_t slash = file.find_last_of("/\\");
    const size_t dot = file.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return false;
    std::string ext = file.substr(dot);
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext == ".ac3";
}

// The second track may be kept as AC3 while the first is MP3, so its file decides first.
TAudioForm SecondTrackForm(const std::string& file, uint8_t audioMode) {
    if (HasAc3Extension(file)) return TAudioForm::Ac3;
    if (audioMode == 1 || audioMode == 2) return TAudioForm::VbrMp3;
    if (audioMode == 3) return TAudioForm::CbrMp3;
    return TAudioForm::None;
}

}  // namespace

void MakeFinalJob(TScriptLines& lines, const std::string& inputScript, const std::string& outputAvi,
                  const std::string& audioFile1, const std::string& audioFile2, uint8_t audioMode,
                  uint8_t codec, const std::string& audioName1, const std::string& audioName2,
                  const TScriptEnvironment& env) {
    lines.clear();
    AddVideoJobHead(lines, inputScript, codec, env);
    lines.push_back("VirtualDub.RemoveInputStreams();");
    if (!audioFile1.empty()) {
        AddAudioFile(lines, 0, audioFile1, AudioFormOfMode(audioMode), env);
        AddStreamTail(lines, 0, audioName1, env);
    }
    if (!audioFile2.empty()) {
        AddAudioFile(lines, 1, audioFile2, SecondTrackForm(audioFile2, audioMode), env);
        AddStreamTail(lines, 1, audioName2, env);
    }
    lines.push_back(SaveAviLine(outputAvi));
}
