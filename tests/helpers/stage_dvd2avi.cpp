// Stand-in for the indexer: writes "<-OF base>.d2v" (a copy of the file STAGE_INDEX names, or
// else an index of 10,000 coded pictures and no FILM share) and, with -TN, the demultiplexed track
// "<base> T0<n> 3_2ch 448Kbps DELAY 0ms.ac3" (".wav" for -OM=3; STAGE_AUDIO_EXT overrides the
// extension). STAGE_SKIP_TRACK=<n> leaves track n out.
#include "StageFake.h"

namespace {

std::string Between(const std::string& text, const std::string& open, char close) {
    const size_t at = text.find(open);
    if (at == std::string::npos) return {};
    const size_t from = at + open.size();
    return text.substr(from, text.find(close, from) - from);
}

std::string DefaultIndex() {
    std::string text =
        "DVD2AVIProjectFile\r\n1\r\nVTS_01_1.VOB\r\n\r\nStream_Type=1\r\niDCT_Algorithm=2\r\n"
        "YUVRGB_Scale=1\r\nField_Operation=0\r\nFrame_Rate=25000\r\nLocation=0,0,0,1\r\n\r\n";
    for (int i = 0; i < 10; ++i) {
        text += "7 0 0 0 0";
        for (int j = 0; j < 1000; ++j) text += " 2";
        text += "\r\n";
    }
    return text + "\r\nFINISHED  0.00% FILM\r\n";
}

void WriteIndex(const std::string& path) {
    const std::string prepared = stagefake::Env("STAGE_INDEX");
    std::ofstream out(path, std::ios::binary);
    if (prepared.empty()) {
        out << DefaultIndex();
        return;
    }
    std::ifstream in(prepared, std::ios::binary);
    out << in.rdbuf();
}

}  // namespace

int main() {
    if (!stagefake::Begin()) return 0;
    const std::string line = platform::CommandLine();
    const std::string base = Between(line, "-OF=[", ']');
    if (base.empty()) return 2;
    WriteIndex(base + ".d2v");
    const std::string track = Between(line, "-TN=", ' ');
    if (track.empty() || track == stagefake::Env("STAGE_SKIP_TRACK")) return 0;
    const std::string ext =
        Between(line, "-OM=", ' ') == "3" ? ".wav" : stagefake::Env("STAGE_AUDIO_EXT", ".ac3");
    const std::string name =
        base + " T" + (track.size() < 2 ? "0" : "") + track + " 3_2ch 448Kbps DELAY 0ms" + ext;
    stagefake::WriteBytes(name, stagefake::SizeFrom("STAGE_AUDIO_BYTES", 1000));
    return 0;
}
