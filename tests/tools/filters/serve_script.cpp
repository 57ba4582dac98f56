// serve_script <avisynth.dll> <script>: serves every frame of a frame-server script and ends, as
// the job runner does in an analysis run (started with /nowrite), so that a test can run the
// planner's debug capture on a real child process. Status 0 when every frame served, else 1
// with the frame server's error on standard error.
#include <cstdio>

#include "HostApi.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: serve_script <avisynth.dll> <script>\n");
        return 1;
    }
    filtertest::HostApi api;
    std::string whyNot;
    if (!api.Load(argv[1], whyNot)) {
        std::fprintf(stderr, "%s\n", whyNot.c_str());
        return 1;
    }
    FsScript* script = api.open(argv[2]);
    FsVideoInfo info{};
    int status = api.lastError(script)[0] || api.videoInfo(script, &info) != 0;
    for (int n = 0; n < info.frame_count && status == 0; ++n) {
        const FsFrame* frame = api.getFrame(script, n);
        status = frame == nullptr;
        api.releaseFrame(frame);
    }
    if (status) std::fprintf(stderr, "%s\n", api.lastError(script));
    api.close(script);
    return status;
}
