// Stand-in for the subtitle library's entry points. "<dll>,Configure <params>" writes the index
// and bitmaps named by the parameter file's second line; the index has STAGE_IDX_PAD lines
// before its header lines. "<dll>,Cutter <in> <out> 1 <from> <to>" writes <out>.idx and .sub.
#include <sstream>

#include "StageFake.h"

namespace {

std::string IndexText() {
    std::string text = "# VobSub index file, v7 (do not modify this line!)\r\n";
    const size_t pad = stagefake::SizeFrom("STAGE_IDX_PAD", 0);
    for (size_t i = 0; i < pad; ++i) text += "# comment\r\n";
    return text + "size: 720x576\r\nlangidx: 9\r\nforced subs: OFF\r\nid: en, index: 0\r\n";
}

std::string SecondLine(const std::string& path) {
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    std::getline(in, line);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

}  // namespace

int main() {
    if (!stagefake::Begin()) return 0;
    const std::vector<std::string> args = stagefake::Args();
    if (args.size() < 3) return 2;
    std::string base;
    if (args[1].find(",Configure") != std::string::npos) base = SecondLine(args[2]);
    if (args[1].find(",Cutter") != std::string::npos && args.size() >= 4) base = args[3];
    if (base.empty()) return 2;
    std::ofstream(base + ".idx", std::ios::binary) << IndexText();
    stagefake::WriteBytes(base + ".sub", 2000, 's');
    return 0;
}
