// The frame server's resizer against ffmpeg's scale filter doing the same work in the same run:
// 200 frames of 352x240 read from a YUV4MPEG2 file and scaled to 720x480 with Lanczos (3 taps),
// ours through a script served frame by frame, ffmpeg's with one thread to a null output.
// Counters: frames per second of each and ours / ffmpeg's. Serving through the decoder plugin
// waits for that plugin.
#include <string>

#include "AgainstFfmpeg.h"
#include "language/Interpreter.h"

namespace {

const std::string kFolder = std::string(MOVREX_BENCH_MEDIA_DIR);

int ServeOurs(const std::string& resize) {
    fsrv::script::Interpreter in("bench.avs");
    const fsrv::ClipPtr clip = in.Run(std::string("LoadPlugin(\"") + FS_SOURCE_PLUGIN +
                                      "\")\nmpeg2source(\"" + kFolder + "/clip.y4m\")\n" + resize);
    for (int n = 0; n < clip->Info().frameCount; ++n) benchmark::DoNotOptimize(clip->GetFrame(n));
    return clip->Info().frameCount;
}

void Compare(benchmark::State& state, const char* resize, const char* filter) {
    if (!benchsupport::MakeClips(state, FS_MEDIA_SCRIPT, kFolder)) return;
    benchsupport::Compare(
        state, [&] { return ServeOurs(resize); }, kFolder + "/clip.y4m", filter);
}

void BM_LanczosUpscale(benchmark::State& state) {
    Compare(state, "LanczosResize(720,480)", "scale=720:480:flags=lanczos");
}
void BM_BicubicDownscale(benchmark::State& state) {
    Compare(state, "BicubicResize(176,120,1,0)", "scale=176:120:flags=bicubic:param0=1:param1=0");
}
BENCHMARK(BM_LanczosUpscale)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BicubicDownscale)->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace
