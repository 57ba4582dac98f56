// movrex-cli: the planner without a window. Until the start-up checks and the queue are wired in,
// it reports the installation it runs from and what of it is missing.
#include <cstdio>
#include <string>

#include "platform/files.h"
#include "platform/paths.h"
#include "util/utils.h"

int main() {
    const std::string dir = platform::CurrentDir();
    std::printf("Movrex 1.25 - THE tool for DVD-2-XviD/DivX conversion.\n");
    std::printf("OS: %s\n", OsVersionText().c_str());
    std::printf("Program folder: %s\n", dir.c_str());
    const char* expected[] = {"DVD2AVI/DVD2AVIdg.exe", "BeSweet/BeSweet.exe",
                              "VDubMod/VirtualDubMod.exe", "filters/mpeg2dec3dg.dll"};
    int missing = 0;
    for (const char* tool : expected) {
        if (!platform::FileExists(dir + "/" + tool)) {
            std::printf("%s/%s is not found.\n", dir.c_str(), tool);
            ++missing;
        }
    }
    return missing == 0 ? 0 : 1;
}
