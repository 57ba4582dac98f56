#include "platform/shared_library.h"

#include <dlfcn.h>

#include "platform/files.h"

namespace platform {

std::unique_ptr<SharedLibrary> SharedLibrary::Load(const std::string& path, std::string& whyNot) {
    if (!FileExists(path)) {
        whyNot = "The file " + path + " is missing";
        return nullptr;
    }
    // A bare name would make the loader search the library path instead of taking this file.
    const std::string loadPath = path.find('/') == std::string::npos ? "./" + path : path;
    void* handle = dlopen(loadPath.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* error = dlerror();
        whyNot = "The file " + path + " cannot be loaded: " + (error ? error : "unknown error");
        return nullptr;
    }
    return std::unique_ptr<SharedLibrary>(new SharedLibrary(handle, path));
}

SharedLibrary::~SharedLibrary() {
    dlclose(handle_);
}

void* SharedLibrary::Symbol(const char* name) const {
    dlerror();
    return dlsym(handle_, name);
}

}  // namespace platform
