// The two entries of the subtitle library, called by the entry-point launcher with the rest of
// its command line. Each returns the exit status: 0 when the pair was written.
#include <cstdio>
#include <exception>
#include <string>

#include "Configure.h"
#include "Console.h"
#include "Cutter.h"
#include "platform/files.h"

namespace {

std::string Unquoted(std::string text) {
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r' ||
                             text.back() == '\n'))
        text.pop_back();
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"')
        text = text.substr(1, text.size() - 2);
    return text;
}

template <typename Work>
int Guarded(const char* entry, Work work) {
    try {
        work();
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "vobsub.dll %s: %s\n", entry, e.what());
        return 1;
    }
}

}  // namespace

extern "C" __attribute__((visibility("default"))) int Configure(const char* tail) {
    return Guarded("Configure", [&] {
        std::vector<std::string> warnings;
        const subtitles::ConfigureParams params =
            subtitles::ReadConfigureParams(Unquoted(tail ? tail : ""), warnings);
        subtitles::WarnAll(warnings);
        subtitles::RunConfigure(params);
    });
}

extern "C" __attribute__((visibility("default"))) int Cutter(const char* tail) {
    return Guarded("Cutter", [&] {
        subtitles::RunCutter(subtitles::ParseCutterTail(
            tail ? tail : "", [](const std::string& path) { return platform::FileExists(path); }));
    });
}
