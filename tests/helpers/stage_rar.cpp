// Stand-in for the archiver: "a -m5 -ep <archive> <file>" writes the archive as a marker and the
// file's bytes.
#include <sstream>

#include "StageFake.h"

int main() {
    if (!stagefake::Begin()) return 0;
    const std::vector<std::string> args = stagefake::Args();
    if (args.size() != 6 || args[1] != "a") return 2;
    std::ifstream in(args[5], std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    std::ofstream(args[4], std::ios::binary) << "Rar!" << bytes.str();
    return 0;
}
