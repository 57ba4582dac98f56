#include "Console.h"

#include <cstdio>

namespace subtitles {

void Warn(const std::string& text) {
    std::fprintf(stderr, "vobsub.dll: warning: %s\n", text.c_str());
}

void WarnAll(const std::vector<std::string>& texts) {
    for (const std::string& text : texts) Warn(text);
}

void Progress(int64_t done, int64_t total) {
    std::printf("progress %lld %lld\n", static_cast<long long>(done),
                static_cast<long long>(total));
    std::fflush(stdout);
}

}  // namespace subtitles
