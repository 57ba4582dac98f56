// rundll32 <library>,<Entry> <rest>: loads the library and calls its exported entry
// int Entry(const char* rest), whose result becomes the exit status.
#include <dlfcn.h>

#include <cstdio>

#include "RundllLine.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/process.h"

namespace {

using Entry = int (*)(const char*);

// A bare library name is looked for in the system folder first, as a bare program name is.
std::string LibraryPath(const std::string& library) {
    if (library.find('/') != std::string::npos) return library;
    const std::string inSystem = platform::SystemFolder() + "/" + library;
    return platform::FileExists(inSystem) ? inSystem : "./" + library;
}

}  // namespace

int main() {
    const std::string tail = subtitles::TailAfterProgram(platform::CommandLine());
    const auto call = subtitles::ParseRundllTail(tail, [](const std::string& library) {
        return platform::FileExists(LibraryPath(library));
    });
    if (!call) {
        std::fprintf(stderr, "rundll32: usage: rundll32 <library>,<Entry> [arguments]\n");
        return 2;
    }
    const std::string path = LibraryPath(call->library);
    void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        std::fprintf(stderr, "rundll32: %s cannot be loaded: %s\n", path.c_str(), dlerror());
        return 2;
    }
    const auto entry = reinterpret_cast<Entry>(dlsym(library, call->entry.c_str()));
    if (!entry) {
        std::fprintf(stderr, "rundll32: %s has no entry %s\n", path.c_str(), call->entry.c_str());
        return 2;
    }
    return entry(call->rest.c_str());
}
