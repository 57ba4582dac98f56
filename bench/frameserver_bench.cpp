// The frame server's resizer against ffmpeg's scale filter doing the same work in the same run:
// 200 frames of 352x240 read from a YUV4MPEG2 file and scaled to 720x480 with Lanczos (3 taps),
// ours through a script served frame by frame, ffmpeg's with one thread to a null output.
// Counters: frames per second of each and ours / ffmpeg's. Serving through the decoder plugin
// waits for that plugin.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <string>

#include "language/Interpreter.h"

namespace {

const std::string kFolder = std::string(MOVREX_BENCH_MEDIA_DIR);
constexpr int kFrames = 200;

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

double ServeOurs(const std::string& resize) {
    fsrv::script::Interpreter in("bench.avs");
    const auto start = std::chrono::steady_clock::now();
    const fsrv::ClipPtr clip = in.Run(std::string("LoadPlugin(\"") + FS_SOURCE_PLUGIN +
                                      "\")\nmpeg2source(\"" + kFolder + "/clip.y4m\")\n" + resize);
    for (int n = 0; n < clip->Info().frameCount; ++n) benchmark::DoNotOptimize(clip->GetFrame(n));
    return Seconds(start);
}

double RunFfmpeg(const std::string& filter) {
    const std::string command = "ffmpeg -v error -threads 1 -filter_threads 1 -i '" + kFolder +
                                "/clip.y4m' -vf '" + filter + "' -f null - </dev/null";
    const auto start = std::chrono::steady_clock::now();
    if (std::system(command.c_str()) != 0) return -1;
    return Seconds(start);
}

void Compare(benchmark::State& state, const char* resize, const char* filter) {
    const std::string make = "bash '" + std::string(FS_MEDIA_SCRIPT) + "' '" + kFolder + "'";
    if (std::system(make.c_str()) != 0) {
        state.SkipWithError("the clips cannot be made (ffmpeg missing?)");
        return;
    }
    double ours = 0, theirs = 0;
    for (auto _ : state) {
        ours += ServeOurs(resize);
        const double t = RunFfmpeg(filter);
        if (t < 0) {
            state.SkipWithError("ffmpeg failed");
            return;
        }
        theirs += t;
    }
    const double runs = double(state.iterations());
    state.counters["ours_fps"] = kFrames * runs / ours;
    state.counters["ffmpeg_fps"] = kFrames * runs / theirs;
    state.counters["ratio"] = theirs / ours;
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
