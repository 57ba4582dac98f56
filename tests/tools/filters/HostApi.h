#pragma once
// The installed frame server's C interface, looked up in the shared object as a host does.
#include <memory>
#include <string>

#include "frameserver_host.h"
#include "platform/shared_library.h"

namespace filtertest {

struct HostApi {
    std::unique_ptr<platform::SharedLibrary> library;
    decltype(&fs_open) open = nullptr;
    decltype(&fs_last_error) lastError = nullptr;
    decltype(&fs_video_info) videoInfo = nullptr;
    decltype(&fs_get_frame) getFrame = nullptr;
    decltype(&fs_release_frame) releaseFrame = nullptr;
    decltype(&fs_close) close = nullptr;

    // False with `whyNot` set when the library or one of its functions is missing.
    bool Load(const std::string& path, std::string& whyNot) {
        library = platform::SharedLibrary::Load(path, whyNot);
        if (!library) return false;
        open = library->Function<decltype(&fs_open)>("fs_open");
        lastError = library->Function<decltype(&fs_last_error)>("fs_last_error");
        videoInfo = library->Function<decltype(&fs_video_info)>("fs_video_info");
        getFrame = library->Function<decltype(&fs_get_frame)>("fs_get_frame");
        releaseFrame = library->Function<decltype(&fs_release_frame)>("fs_release_frame");
        close = library->Function<decltype(&fs_close)>("fs_close");
        if (open && lastError && videoInfo && getFrame && releaseFrame && close) return true;
        whyNot = path + " lacks a function of the frame server's interface";
        return false;
    }
};

}  // namespace filtertest
