#include "FrameServer.h"

#include "platform/paths.h"

namespace player {

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

}  // namespace player
