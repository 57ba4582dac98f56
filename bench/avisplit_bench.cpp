// Opening the index of a long film (600,000 entries) in each index form and answering the three
// calls of a three-CD split. The peak resident size is reported as a counter; run one form at a
// time (--benchmark_filter) to see that form's peak alone.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "../tests/avi/AviTestFile.h"
#include "avi/AviSplit.h"

namespace {

constexpr int kFrames = 240000;  // 2 h 40 min at 25 frames per second
constexpr int kEntries = 600000;

// A film of about 2 GiB: key frames every 250 frames, audio chunks between the frames.
avitest::AviPlan FilmPlan(bool openDml) {
    avitest::AviPlan plan;
    plan.sparse = true;
    plan.chunks.reserve(kEntries);
    int64_t audio = 0;
    for (int n = 0; n < kFrames; ++n) {
        const bool key = n % 250 == 0;
        plan.chunks.push_back({0, uint32_t(key ? 30000 : 6000 + (n * 7919) % 3200), key});
        for (; audio * kFrames < int64_t(n + 1) * (kEntries - kFrames); ++audio)
            plan.chunks.push_back({1, 768, false});
    }
    if (openDml) {
        plan.superIndex = true;
        plan.odmlFrames = kFrames;
        plan.riffBreaks = {kEntries / 3, 2 * kEntries / 3};  // RIFFs of about 700 MB each
    }
    return plan;
}

std::string FilmPath(bool openDml) {
    return (std::filesystem::temp_directory_path() /
            (openDml ? "movrex-bench-opendml.avi" : "movrex-bench-idx1.avi"))
        .string();
}

struct RemoveFilms {
    ~RemoveFilms() {
        std::error_code ec;
        for (bool openDml : {false, true}) std::filesystem::remove(FilmPath(openDml), ec);
    }
};

// The files are made in a child process, so that the writer's memory is not in our peak.
void MakeFilms() {
    static bool made = false;
    static RemoveFilms removeAtExit;
    if (made) return;
    made = true;
    const pid_t child = fork();
    if (child == 0) {
        for (bool openDml : {false, true})
            avitest::MakeAvi(FilmPlan(openDml)).bytes.WriteTo(FilmPath(openDml));
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) std::abort();
}

void OpenAndSplit(benchmark::State& state, bool openDml) {
    MakeFilms();
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    // The benchmark library runs this more than once; the first call sees the peak before any
    // index was read.
    static const double baseline = double(usage.ru_maxrss) / 1024.0;
    const std::string path = FilmPath(openDml);
    int32_t cuts[3] = {};
    size_t entries = 0;
    for (auto _ : state) {
        TAVISplitSearch search;
        if (!search.Open(path)) {
            state.SkipWithError(search.LastError().c_str());
            return;
        }
        if (search.UsedOpenDmlIndex() != openDml) {
            state.SkipWithError("the index was not read in the form under test");
            return;
        }
        cuts[0] = search.FindSplitFrame(0, 700);
        cuts[1] = search.FindSplitFrame(cuts[0], 700);
        cuts[2] = search.FindSplitFrame(cuts[1], 700);
        entries = search.Index().size();
        benchmark::DoNotOptimize(cuts);
    }
    getrusage(RUSAGE_SELF, &usage);
    state.counters["entries"] = double(entries);
    state.counters["rss_before_MiB"] = baseline;
    state.counters["peak_rss_MiB"] = double(usage.ru_maxrss) / 1024.0;
    state.counters["cut1"] = cuts[0];
    state.counters["cut2"] = cuts[1];
    state.counters["cut3"] = cuts[2];
}

void BM_Idx1(benchmark::State& state) {
    OpenAndSplit(state, false);
}
void BM_OpenDml(benchmark::State& state) {
    OpenAndSplit(state, true);
}

BENCHMARK(BM_Idx1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenDml)->Unit(benchmark::kMillisecond);

}  // namespace
