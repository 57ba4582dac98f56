#include <cstdlib>

#include "platform/files.h"
#include "platform/paths.h"
#include "platform/system.h"
#include "util/utils.h"

// The system's own folder never held a blank, and the command lines name what lies in it
// unquoted; the system folder of an installation may, so it is given in its short form.
std::string SystemDirectory() {
    std::string dir = platform::ShortPathName(platform::SystemFolder());
    if (dir.empty() || dir.back() != platform::kPathDelim) dir += platform::kPathDelimStr;
    return dir;
}

int64_t FileSize64(const std::string& path) {
    return platform::FileSize(path);
}

void ShutdownWindows() {
    // The queue is done and nothing is left to save; whether the request was taken does not
    // change that the program ends here, without the window's normal closing.
    (void)platform::RequestPowerOff();
    std::_Exit(0);
}
