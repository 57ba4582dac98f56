// Test child: writes its own command line to the file named by SPINE_RECORD_FILE, so a test can
// see how a program was started (the preview's media player, for one).
#include <cstdlib>
#include <fstream>

#include "platform/process.h"

int main() {
    const char* file = std::getenv("SPINE_RECORD_FILE");
    if (!file) return 2;
    std::ofstream(file) << platform::CommandLine();
    return 0;
}
