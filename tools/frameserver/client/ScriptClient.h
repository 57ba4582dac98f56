#pragma once
// The frame server as its hosts (the job runner, the preview player) use it: system/avisynth.dll
// loaded at run time, one script opened through its C interface, and its frames handed out with
// their release attached.
#include <memory>
#include <string>

#include "frameserver_host.h"
#include "platform/shared_library.h"

namespace fsclient {

// The library and the entry points a host calls.
class FrameServerLibrary {
  public:
    // The library at `path`, or null with `whyNot` naming the file and what is wrong with it.
    static std::shared_ptr<FrameServerLibrary> Load(const std::string& path, std::string& whyNot);

    decltype(&fs_open) open = nullptr;
    decltype(&fs_last_error) lastError = nullptr;
    decltype(&fs_video_info) videoInfo = nullptr;
    decltype(&fs_get_frame) getFrame = nullptr;
    decltype(&fs_release_frame) releaseFrame = nullptr;
    decltype(&fs_get_parity) getParity = nullptr;
    decltype(&fs_close) close = nullptr;

  private:
    std::unique_ptr<platform::SharedLibrary> module_;
};

// The installed frame server: avisynth.dll in the system folder.
std::string FrameServerPath();

// A served frame; releasing it goes back to the library that made it.
struct FrameRelease {
    std::shared_ptr<FrameServerLibrary> library;
    void operator()(const FsFrame* frame) const {
        if (frame) library->releaseFrame(frame);
    }
};
using FramePtr = std::unique_ptr<const FsFrame, FrameRelease>;

// One opened script. Calls are serialised inside the frame server, but the script must not be
// closed while another thread is inside a call: its owner stops the fetching thread first.
class ClipScript {
  public:
    // The script, or null with `error` as the frame server words it (file, line, message).
    static std::unique_ptr<ClipScript> Open(std::shared_ptr<FrameServerLibrary> library,
                                            const std::string& path, std::string& error);
    ~ClipScript();
    ClipScript(const ClipScript&) = delete;
    ClipScript& operator=(const ClipScript&) = delete;

    const FsVideoInfo& Info() const { return info_; }
    // Frame n, or null with `error` set (the frame server names the script and the frame).
    FramePtr Frame(int n, std::string& error);
    // 1 when frame n is top field first, 0 when not, -1 on an error.
    int Parity(int n) { return library_->getParity(script_, n); }

  private:
    ClipScript(std::shared_ptr<FrameServerLibrary> library, FsScript* script)
        : library_(std::move(library)), script_(script) {}
    std::shared_ptr<FrameServerLibrary> library_;
    FsScript* script_;
    FsVideoInfo info_{};
};

// Loads the installed frame server and opens the script with it; null with `error` when either
// fails.
std::unique_ptr<ClipScript> OpenInstalledScript(const std::string& path, std::string& error);

}  // namespace fsclient
