// Test child for debug capture: writes debug strings as the decimation filter does.
//   spine_decimate <action>...
// Actions, in order:
//   sleep:<ms>       pause
//   spawn:<actions>  start this program again with the actions after "spawn:" (separated by
//                    ","), without waiting for it
//   touch:<file>     create <file>
//   bad              write a record whose length is larger than a record may be
//   <anything else>  write it as one debug string
#include <unistd.h>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>

#include "platform/debug_channel.h"
#include "platform/paths.h"
#include "platform/process.h"

namespace {

void Spawn(const std::string& actions) {
    std::string line = platform::QuoteArgument(platform::ExecutableDir() + "/spine_decimate");
    size_t start = 0;
    while (start <= actions.size()) {
        size_t comma = actions.find(',', start);
        if (comma == std::string::npos) comma = actions.size();
        line += " " + platform::QuoteArgument(actions.substr(start, comma - start));
        start = comma + 1;
    }
    platform::Process child;
    child.Start(line, {});
}

void WriteBadRecord() {
    const char* fd = std::getenv("MOVREX_DEBUG_FD");
    if (!fd) return;
    const uint32_t length = platform::kMaxDebugRecord + 1;
    unsigned char prefix[4] = {uint8_t(length), uint8_t(length >> 8), uint8_t(length >> 16),
                               uint8_t(length >> 24)};
    if (write(std::atoi(fd), prefix, sizeof prefix) < 0) std::exit(3);
}

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string action = argv[i];
        if (action.rfind("sleep:", 0) == 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(std::atoi(action.c_str() + 6)));
        else if (action.rfind("spawn:", 0) == 0)
            Spawn(action.substr(6));
        else if (action.rfind("touch:", 0) == 0)
            std::ofstream(action.substr(6)) << "touched";
        else if (action == "bad")
            WriteBadRecord();
        else
            platform::OutputDebugString(action);
    }
    return 0;
}
