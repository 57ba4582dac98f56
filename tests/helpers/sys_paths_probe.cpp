// Child program of the path tests: prints where it finds itself, its installation and the
// system folder, one per line. The tests copy it into folder layouts of their own.
#include <cstdio>

#include "platform/paths.h"

int main() {
    std::printf("%s\n%s\n%s\n", platform::ExecutableDir().c_str(), platform::InstallDir().c_str(),
                platform::SystemFolder().c_str());
    return 0;
}
