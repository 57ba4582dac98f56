#pragma once
// What the benchmarks against ffmpeg share: making their clips, timing ffmpeg on the same input,
// and the counters (frames per second of each, ratio = ours / ffmpeg's speed, cpu_ratio the same
// in processor time, which says more on a machine that others share).
#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>

namespace benchsupport {

inline double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// Processor seconds used so far by this process (all its threads) or by its ended children.
inline double CpuSeconds(int who) {
    rusage use{};
    getrusage(who, &use);
    return double(use.ru_utime.tv_sec + use.ru_stime.tv_sec) +
           double(use.ru_utime.tv_usec + use.ru_stime.tv_usec) / 1e6;
}

// Runs a media script into `folder`; false, with the benchmark skipped, when it fails.
inline bool MakeClips(benchmark::State& state, const std::string& script,
                      const std::string& folder) {
    const std::string make = "bash '" + script + "' '" + folder + "'";
    if (std::system(make.c_str()) == 0) return true;
    state.SkipWithError("the clips cannot be made (ffmpeg missing?)");
    return false;
}

// How ffmpeg reads its input: one thread (a raw clip, as our frame server's one thread reads
// it), or decoding with the threads libavcodec picks, as our decoder plugin does.
enum class Decoding { OneThread, LibraryThreads };

// ffmpeg from `input` through `filter` (on one thread) to a null output; seconds, -1 on failure.
inline double RunFfmpeg(const std::string& input, const std::string& filter, Decoding decoding) {
    const std::string command =
        std::string("ffmpeg -v error ") + (decoding == Decoding::OneThread ? "-threads 1 " : "") +
        "-filter_threads 1 -i '" + input + "' -vf '" + filter + "' -f null - </dev/null";
    const auto start = std::chrono::steady_clock::now();
    if (std::system(command.c_str()) != 0) return -1;
    return Seconds(start);
}

// Each iteration times `ours` (which returns the frames it served) and ffmpeg's `filter` on
// `input`, one after the other.
inline void Compare(benchmark::State& state, const std::function<int()>& ours,
                    const std::string& input, const std::string& filter,
                    Decoding decoding = Decoding::OneThread) {
    double oursSeconds = 0, theirs = 0, oursCpu = 0, theirsCpu = 0;
    int frames = 0;
    for (auto _ : state) {
        const double cpu = CpuSeconds(RUSAGE_SELF), childCpu = CpuSeconds(RUSAGE_CHILDREN);
        const auto start = std::chrono::steady_clock::now();
        frames = ours();
        oursSeconds += Seconds(start);
        oursCpu += CpuSeconds(RUSAGE_SELF) - cpu;
        const double t = RunFfmpeg(input, filter, decoding);
        if (t < 0) {
            state.SkipWithError("ffmpeg failed");
            return;
        }
        theirs += t;
        theirsCpu += CpuSeconds(RUSAGE_CHILDREN) - childCpu;
    }
    const double runs = double(state.iterations());
    state.counters["ours_fps"] = frames * runs / oursSeconds;
    state.counters["ffmpeg_fps"] = frames * runs / theirs;
    state.counters["ratio"] = theirs / oursSeconds;
    state.counters["cpu_ratio"] = theirsCpu / oursCpu;
}

}  // namespace benchsupport
