// Any bytes split into pieces without a crash, and quoting the pieces again gives a line that
// splits back into the same pieces: the program name within plain quotes (it never holds one),
// every argument through QuoteArgument. A piece holding a NUL cannot travel on a real command
// line and is left out of the second line.
// clang-format off
// fuzz-sources: src/platform/process_cmdline.cpp
// clang-format on
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/process.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string line(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> pieces = platform::SplitCommandLine(line);
    if (pieces.empty()) return 0;

    std::vector<std::string> kept;
    const bool nameUsable = pieces[0].find('\0') == std::string::npos;
    kept.push_back(nameUsable ? pieces[0] : "p");
    if (kept[0].find('"') != std::string::npos) abort();  // a name cannot carry a quote
    std::string joined = "\"" + kept[0] + "\"";
    for (size_t i = 1; i < pieces.size(); ++i) {
        if (pieces[i].find('\0') != std::string::npos) continue;
        kept.push_back(pieces[i]);
        joined += (i % 2 ? " " : "\t") + platform::QuoteArgument(pieces[i]);
    }
    if (platform::SplitCommandLine(joined) != kept) abort();

    // Blanks after the last argument must not add an empty one.
    if (platform::SplitCommandLine(joined + " \t") != kept) abort();
    return 0;
}
