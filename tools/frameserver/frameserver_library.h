#pragma once
// The frame server as a host loads it at run time: the shared object opened with the platform's
// loader, its interface version checked and every fs_* function of frameserver_host.h looked up.
// Header-only, so that a host (the preview player, the tests' serving child) links nothing of
// the frame server.
#include <memory>
#include <string>

#include "frameserver_host.h"
#include "platform/shared_library.h"

namespace fshost {

class Library {
  public:
    // The library at `path`, or null with `whyNot` naming the file and what is wrong with it.
    static std::shared_ptr<Library> Load(const std::string& path, std::string& whyNot) {
        auto module = platform::SharedLibrary::Load(path, whyNot);
        if (!module) return nullptr;
        const auto version =
            module->Function<decltype(&fs_interface_version)>("fs_interface_version");
        if (!version) {
            whyNot = "The file " + path + " is no frame server: it has no fs_interface_version";
            return nullptr;
        }
        if (version() != FS_INTERFACE_VERSION) {
            whyNot = "The frame server " + path + " has interface version " +
                     std::to_string(version()) + ", this program needs version " +
                     std::to_string(FS_INTERFACE_VERSION);
            return nullptr;
        }
        auto library = std::shared_ptr<Library>(new Library);
        const platform::SharedLibrary& m = *module;
        library->open = m.Function<decltype(&fs_open)>("fs_open");
        library->lastError = m.Function<decltype(&fs_last_error)>("fs_last_error");
        library->videoInfo = m.Function<decltype(&fs_video_info)>("fs_video_info");
        library->getFrame = m.Function<decltype(&fs_get_frame)>("fs_get_frame");
        library->releaseFrame = m.Function<decltype(&fs_release_frame)>("fs_release_frame");
        library->getParity = m.Function<decltype(&fs_get_parity)>("fs_get_parity");
        library->close = m.Function<decltype(&fs_close)>("fs_close");
        if (!library->open || !library->lastError || !library->videoInfo || !library->getFrame ||
            !library->releaseFrame || !library->getParity || !library->close) {
            whyNot =
                "The frame server " + path + " lacks one of the fs_ functions of its interface";
            return nullptr;
        }
        library->module_ = std::move(module);
        return library;
    }

    decltype(&fs_open) open = nullptr;
    decltype(&fs_last_error) lastError = nullptr;
    decltype(&fs_video_info) videoInfo = nullptr;
    decltype(&fs_get_frame) getFrame = nullptr;
    decltype(&fs_release_frame) releaseFrame = nullptr;
    decltype(&fs_get_parity) getParity = nullptr;
    decltype(&fs_close) close = nullptr;

  private:
    Library() = default;
    std::unique_ptr<platform::SharedLibrary> module_;
};

}  // namespace fshost
