#pragma once
// What the benchmarks against ffmpeg share: making their clips, timing ffmpeg on one thread on
// the same input, and the counters (frames per second of each, ratio = ours / ffmpeg's).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>

namespace benchsupport {

inline double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// Runs a media script into `folder`; false, with the benchmark skipped, when it fails.
inline bool MakeClips(benchmark::State& state, const std::string& script,
                      const std::string& folder) {
    const std::string make = "bash '" + script + "' '" + folder + "'";
    if (std::system(make.c_str()) == 0) return true;
    state.SkipWithError("the clips cannot be made (ffmpeg missing?)");
    return false;
}

// ffmpeg with one thread from `input` through `filter` to a null output; seconds, -1 on failure.
inline double RunFfmpeg(const std::string& input, const std::string& filter) {
    const std::string command = "ffmpeg -v error -threads 1 -filter_threads 1 -i '" + input +
                                "' -vf '" + filter + "' -f null - </dev/null";
    const auto start = std::chrono::steady_clock::now();
    if (std::system(command.c_str()) != 0) return -1;
    return Seconds(start);
}

// Each iteration times `ours` (which returns the frames it served) and ffmpeg's `filter` on
// `input`, one after the other.
inline void Compare(benchmark::State& state, const std::function<int()>& ours,
                    const std::string& input, const std::string& filter) {
    double oursSeconds = 0, theirs = 0;
    int frames = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        frames = ours();
        oursSeconds += Seconds(start);
        const double t = RunFfmpeg(input, filter);
        if (t < 0) {
            state.SkipWithError("ffmpeg failed");
            return;
        }
        theirs += t;
    }
    const double runs = double(state.iterations());
    state.counters["ours_fps"] = frames * runs / oursSeconds;
    state.counters["ffmpeg_fps"] = frames * runs / theirs;
    state.counters["ratio"] = theirs / oursSeconds;
}

}  // namespace benchsupport
