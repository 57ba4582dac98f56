// The C interface of frameserver_host.h: handles around an open script, every exception turned
// into the handle's error text.
#include <mutex>
#include <new>

#include "frameserver_host.h"
#include "host/OpenScript.h"
#include "language/ScriptError.h"

#define FS_EXPORT extern "C" __attribute__((visibility("default")))

struct FsScript {
    std::mutex mutex;
    std::shared_ptr<fsrv::ScriptState> state;  // null when the script failed
    std::string error;
};

namespace {

struct FrameHandle : FsFrame {
    std::shared_ptr<fsrv::ScriptState> state;  // declared first: outlives the frame
    fsrv::FramePtr frame;
};

// Runs `f` under the script's lock with its error text cleared; an exception becomes the error
// text and `failed` the result.
template <typename R, typename F>
R Guarded(FsScript* script, R failed, F&& f) {
    if (!script) return failed;
    std::lock_guard<std::mutex> lock(script->mutex);
    script->error.clear();
    if (!script->state) {
        script->error = "the script was not opened";
        return failed;
    }
    try {
        return f(*script->state);
    } catch (const std::bad_alloc&) {
        script->error = script->state->name + ": out of memory";
    } catch (const std::exception& e) {
        script->error = e.what();
    }
    return failed;
}

void CheckFrameNumber(const fsrv::ScriptState& s, int n) {
    const int count = s.clip->Info().frameCount;
    if (n < 0 || n >= count)
        throw fsrv::Error(s.name + ": frame " + std::to_string(n) +
                          " is out of range (the clip has " + std::to_string(count) + " frames)");
}

// Errors of filters while serving name the file and the frame; script errors name the line.
template <typename F>
auto Serving(const fsrv::ScriptState& s, int n, F&& f) {
    try {
        return f();
    } catch (const fsrv::ScriptError&) {
        throw;
    } catch (const std::bad_alloc&) {
        throw;
    } catch (const std::exception& e) {
        throw fsrv::Error(s.name + ", frame " + std::to_string(n) + ": " + e.what());
    }
}

}  // namespace

FS_EXPORT int fs_interface_version(void) {
    return FS_INTERFACE_VERSION;
}

FS_EXPORT FsScript* fs_open(const char* script_path) {
    auto* script = new (std::nothrow) FsScript;
    if (!script) return nullptr;
    try {
        if (!script_path) throw fsrv::Error("no script file was given");
        script->state = fsrv::OpenScript(script_path);
    } catch (const std::bad_alloc&) {
        script->error = std::string(script_path) + ": out of memory";
    } catch (const std::exception& e) {
        script->error = e.what();
    }
    return script;
}

FS_EXPORT const char* fs_last_error(FsScript* script) {
    return script ? script->error.c_str() : "no script";
}

FS_EXPORT int fs_video_info(FsScript* script, FsVideoInfo* info) {
    return Guarded(script, -1, [&](fsrv::ScriptState& s) {
        if (!info) throw fsrv::Error("fs_video_info: no place for the description");
        const fsrv::VideoInfo& vi = s.clip->Info();
        *info = FsVideoInfo{vi.width, vi.height, vi.fpsNumerator, vi.fpsDenominator, vi.frameCount};
        return 0;
    });
}

FS_EXPORT const FsFrame* fs_get_frame(FsScript* script, int n) {
    return Guarded(script, static_cast<const FsFrame*>(nullptr), [&](fsrv::ScriptState& s) {
        CheckFrameNumber(s, n);
        auto handle = std::make_unique<FrameHandle>();
        handle->frame = Serving(s, n, [&] { return s.clip->GetFrame(n); });
        if (!handle->frame)
            throw fsrv::Error(s.name + ", frame " + std::to_string(n) + ": no frame");
        handle->state = script->state;
        for (int p = 0; p < 3; ++p) {
            handle->data[p] = handle->frame->Data(p);
            handle->pitch[p] = handle->frame->Pitch(p);
            handle->width[p] = handle->frame->Width(p);
            handle->height[p] = handle->frame->Height(p);
        }
        return static_cast<const FsFrame*>(handle.release());
    });
}

FS_EXPORT void fs_release_frame(const FsFrame* frame) {
    delete static_cast<const FrameHandle*>(frame);
}

FS_EXPORT int fs_get_parity(FsScript* script, int n) {
    return Guarded(script, -1, [&](fsrv::ScriptState& s) {
        CheckFrameNumber(s, n);
        return Serving(s, n, [&] { return s.clip->GetParity(n) ? 1 : 0; });
    });
}

FS_EXPORT void fs_close(FsScript* script) {
    delete script;
}
