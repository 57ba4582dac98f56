// Stand-in for the indexer: writes "<-OF base>.d2v" and, with -TN, the demultiplexed track
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

}  // namespace

int main() {
    if (!stagefake::Begin()) return 0;
    const std::string line = platform::CommandLine();
    const std::string base = Between(line, "-OF=[", ']');
    if (base.empty()) return 2;
    std::ofstream(base + ".d2v") << "DGIndexProjectFile\n";
    const std::string track = Between(line, "-TN=", ' ');
    if (track.empty() || track == stagefake::Env("STAGE_SKIP_TRACK")) return 0;
    const std::string ext =
        Between(line, "-OM=", ' ') == "3" ? ".wav" : stagefake::Env("STAGE_AUDIO_EXT", ".ac3");
    const std::string name =
        base + " T" + (track.size() < 2 ? "0" : "") + track + " 3_2ch 448Kbps DELAY 0ms" + ext;
    stagefake::WriteBytes(name, stagefake::SizeFrom("STAGE_AUDIO_BYTES", 1000));
    return 0;
}
