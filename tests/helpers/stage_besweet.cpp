// Stand-in for the audio encoder: writes STAGE_MP3_BYTES bytes (500) at the -output path.
#include "StageFake.h"

int main() {
    if (!stagefake::Begin()) return 0;
    const std::vector<std::string> args = stagefake::Args();
    for (size_t i = 0; i + 1 < args.size(); ++i)
        if (args[i] == "-output")
            stagefake::WriteBytes(args[i + 1], stagefake::SizeFrom("STAGE_MP3_BYTES", 500));
    return 0;
}
