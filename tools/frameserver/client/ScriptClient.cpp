#include "client/ScriptClient.h"

#include "platform/paths.h"

namespace fsclient {

std::shared_ptr<FrameServerLibrary> FrameServerLibrary::Load(const std::string& path,
                                                             std::string& whyNot) {
    auto module = platform::SharedLibrary::Load(path, whyNot);
    if (!module) return nullptr;
    const auto version = module->Function<decltype(&fs_interface_version)>("fs_interface_version");
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
    auto library = std::make_shared<FrameServerLibrary>();
    library->open = module->Function<decltype(&fs_open)>("fs_open");
    library->lastError = module->Function<decltype(&fs_last_error)>("fs_last_error");
    library->videoInfo = module->Function<decltype(&fs_video_info)>("fs_video_info");
    library->getFrame = module->Function<decltype(&fs_get_frame)>("fs_get_frame");
    library->releaseFrame = module->Function<decltype(&fs_release_frame)>("fs_release_frame");
    library->getParity = module->Function<decltype(&fs_get_parity)>("fs_get_parity");
    library->close = module->Function<decltype(&fs_close)>("fs_close");
    if (!library->open || !library->lastError || !library->videoInfo || !library->getFrame ||
        !library->releaseFrame || !library->getParity || !library->close) {
        whyNot = "The frame server " + path + " lacks one of the fs_ functions a host calls";
        return nullptr;
    }
    library->module_ = std::move(module);
    return library;
}

std::string FrameServerPath() {
    return platform::SystemFolder() + "/avisynth.dll";
}

std::unique_ptr<ClipScript> ClipScript::Open(std::shared_ptr<FrameServerLibrary> library,
                                             const std::string& path, std::string& error) {
    FsScript* handle = library->open(path.c_str());
    if (!handle) {
        error = path + ": the frame server ran out of memory";
        return nullptr;
    }
    std::unique_ptr<ClipScript> script(new ClipScript(library, handle));
    error = library->lastError(handle);
    if (error.empty() && library->videoInfo(handle, &script->info_) != 0)
        error = library->lastError(handle);
    if (error.empty() && script->info_.frame_count <= 0) error = path + ": the clip has no frames";
    if (!error.empty()) return nullptr;
    return script;
}

ClipScript::~ClipScript() {
    library_->close(script_);
}

FramePtr ClipScript::Frame(int n, std::string& error) {
    FramePtr frame(library_->getFrame(script_, n), FrameRelease{library_});
    if (!frame) error = library_->lastError(script_);
    if (!frame && error.empty()) error = "frame " + std::to_string(n) + " could not be served";
    return frame;
}

std::unique_ptr<ClipScript> OpenInstalledScript(const std::string& path, std::string& error) {
    const auto library = FrameServerLibrary::Load(FrameServerPath(), error);
    if (!library) return nullptr;
    return ClipScript::Open(library, path, error);
}

}  // namespace fsclient
