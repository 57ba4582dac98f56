// Stand-in for the preview's media player: records its command line and, in STAGE_PLAYER_COPY,
// the script it was asked to open as it found it.
#include <sstream>

#include "StageFake.h"

int main() {
    stagefake::Begin();
    const std::vector<std::string> args = stagefake::Args();
    if (args.size() != 2) return 2;
    std::ifstream in(args[1], std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    const std::string copy = stagefake::Env("STAGE_PLAYER_COPY");
    if (!copy.empty()) std::ofstream(copy, std::ios::binary) << bytes.str();
    return 0;
}
