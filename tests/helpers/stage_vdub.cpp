// Stand-in for the job runner: "/x /s<job>" reads the job and writes STAGE_PART_BYTES bytes
// (100) at the path of its SaveAVI line.
#include <sstream>

#include "StageFake.h"

namespace {

std::string SavedAvi(const std::string& job) {
    std::ifstream in(job);
    const std::string open = "VirtualDub.SaveAVI(\"";
    for (std::string line; std::getline(in, line);) {
        const size_t at = line.find(open);
        if (at == std::string::npos) continue;
        const size_t from = at + open.size();
        return line.substr(from, line.find('"', from) - from);
    }
    return {};
}

}  // namespace

int main() {
    if (!stagefake::Begin()) return 0;
    for (const std::string& arg : stagefake::Args()) {
        if (arg.rfind("/s", 0) != 0) continue;
        const std::string avi = SavedAvi(arg.substr(2));
        if (avi.empty()) return 2;
        stagefake::WriteBytes(avi, stagefake::SizeFrom("STAGE_PART_BYTES", 100));
    }
    return 0;
}
