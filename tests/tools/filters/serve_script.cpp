// serve_script <avisynth.dll> <script>: serves every frame of a frame-server script and ends, as
// the job runner does in an analysis run (started with /nowrite), so that a test can run the
// planner's debug capture on a real child process. Status 0 when every frame served, else 1
// with the frame server's error on standard error.
#include <cstdio>

#include "frameserver_host.h"
#include "platform/shared_library.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: serve_script <avisynth.dll> <script>\n");
        return 1;
    }
    std::string whyNot;
    const auto library = platform::SharedLibrary::Load(argv[1], whyNot);
    if (!library) {
        std::fprintf(stderr, "%s\n", whyNot.c_str());
        return 1;
    }
    const auto open = library->Function<decltype(&fs_open)>("fs_open");
    const auto lastError = library->Function<decltype(&fs_last_error)>("fs_last_error");
    const auto videoInfo = library->Function<decltype(&fs_video_info)>("fs_video_info");
    const auto getFrame = library->Function<decltype(&fs_get_frame)>("fs_get_frame");
    const auto release = library->Function<decltype(&fs_release_frame)>("fs_release_frame");
    const auto close = library->Function<decltype(&fs_close)>("fs_close");
    FsScript* script = open(argv[2]);
    FsVideoInfo info{};
    int status = lastError(script)[0] || videoInfo(script, &info) != 0;
    for (int n = 0; n < info.frame_count && status == 0; ++n) {
        const FsFrame* frame = getFrame(script, n);
        status = frame == nullptr;
        release(frame);
    }
    if (status) std::fprintf(stderr, "%s\n", lastError(script));
    close(script);
    return status;
}
