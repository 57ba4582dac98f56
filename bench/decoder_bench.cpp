// mpeg2source alone against ffmpeg decoding the same VOB (ffmpeg -i VOB -f null -, its default
// threads) in the same run, on the benchmark's own titles (bench/make_decoder_bench_titles.sh):
// 30 s of interlaced NTSC video and 20 s of soft-pulldown film, indexed by our indexer. Each
// iteration serves the whole title in order (or 300 frames at random places) through the frame
// server in this process and then runs ffmpeg. Counters: ours_fps (frames served per second),
// ffmpeg_fps (pictures decoded per second) and ratio: for serving in order ffmpeg's time for the
// title over ours, the goal being at least 0.9; for random order ours_fps over ffmpeg_fps.
// cpu_ratio is the same with processor time (all threads) in place of wall time, which says
// more on a machine that others share. The frame server caches what a clip serves (128 MB
// unless a script says less), and filling that cache with fresh memory costs a short title a
// few percent: BM_VideoInOrderSmallCache serves the same with SetMemoryMax(1), the decoder alone.
#include <chrono>
#include <cstdlib>
#include <random>
#include <string>

#include "AgainstFfmpeg.h"
#include "encoder/TextFiles.h"
#include "encoder/rules/IndexLines.h"
#include "language/Interpreter.h"

namespace {

const std::string kFolder = MOVREX_BENCH_MEDIA_DIR;
constexpr int kRandomFrames = 300;

using benchsupport::CpuSeconds;
using benchsupport::Seconds;

std::string Vob(const std::string& title) {
    return kFolder + "/" + title + "/VTS_01_1.VOB";
}

// The title's index (made once), with forced FILM written in as the planner writes it.
std::string Index(const std::string& title, bool forcedFilm) {
    const std::string base = kFolder + "/" + title + "/index";
    const std::string d2v = base + (forcedFilm ? "_film.d2v" : ".d2v");
    const std::string command = std::string("'") + DECODER_BENCH_INDEXER + "' '-AIF=[" +
                                Vob(title) + "]' -FO=0 '-OF=[" + base + "]' -Exit >/dev/null";
    if (std::system(command.c_str()) != 0) return "";
    if (forcedFilm) {
        TIndexLines lines = LoadTextLines(base + ".d2v");
        SetFieldOperation(lines, kForcedFilmOperation, kFilmFrameRate, d2v);
        SaveTextLines(lines, d2v);
    }
    return d2v;
}

// Frames served and seconds taken: all in order, or kRandomFrames at random places.
std::pair<int, double> ServeOurs(const std::string& d2v, bool random, bool smallCache) {
    const auto start = std::chrono::steady_clock::now();
    fsrv::script::Interpreter in("bench.avs");
    const fsrv::ClipPtr clip =
        in.Run(std::string("LoadPlugin(\"") + DECODER_BENCH_PLUGIN + "\")\n" +
               (smallCache ? "SetMemoryMax(1)\n" : "") + "mpeg2source(\"" + d2v + "\")");
    const int count = clip->Info().frameCount;
    std::mt19937 pick(14);
    const int served = random ? kRandomFrames : count;
    for (int i = 0; i < served; ++i)
        benchmark::DoNotOptimize(clip->GetFrame(random ? int(pick() % unsigned(count)) : i));
    return {served, Seconds(start)};
}

double RunFfmpeg(const std::string& vob) {
    const std::string command = "ffmpeg -v error -i '" + vob + "' -f null - </dev/null";
    const auto start = std::chrono::steady_clock::now();
    if (std::system(command.c_str()) != 0) return -1;
    return Seconds(start);
}

int FfmpegFrames(const std::string& vob) {
    const std::string command =
        "ffprobe -v error -select_streams v:0 -count_frames -show_entries "
        "stream=nb_read_frames -of csv=p=0 '" +
        vob + "'";
    FILE* pipe = popen(command.c_str(), "r");
    int frames = 0;
    if (pipe && std::fscanf(pipe, "%d", &frames) != 1) frames = 0;
    if (pipe) pclose(pipe);
    return frames;
}

void Compare(benchmark::State& state, const std::string& title, bool forcedFilm, bool random,
             bool smallCache = false) {
    const std::string make =
        "bash '" + std::string(DECODER_BENCH_MEDIA_SCRIPT) + "' '" + kFolder + "'";
    const std::string d2v = std::system(make.c_str()) == 0 ? Index(title, forcedFilm) : "";
    const int pictures = d2v.empty() ? 0 : FfmpegFrames(Vob(title));
    if (pictures == 0) {
        state.SkipWithError("the titles cannot be made or indexed (ffmpeg or mjpegtools missing?)");
        return;
    }
    double ours = 0, theirs = 0, oursCpu = 0, theirsCpu = 0;
    int served = 0;
    for (auto _ : state) {
        const double cpu = CpuSeconds(RUSAGE_SELF), childCpu = CpuSeconds(RUSAGE_CHILDREN);
        const auto [frames, seconds] = ServeOurs(d2v, random, smallCache);
        served += frames;
        ours += seconds;
        oursCpu += CpuSeconds(RUSAGE_SELF) - cpu;
        const double t = RunFfmpeg(Vob(title));
        if (t < 0) {
            state.SkipWithError("ffmpeg failed");
            return;
        }
        theirs += t;
        theirsCpu += CpuSeconds(RUSAGE_CHILDREN) - childCpu;
    }
    const double runs = double(state.iterations());
    // For random order the time per frame is compared, for serving in order the title's time.
    const double scale = random ? pictures * runs / served : 1;
    state.counters["ours_fps"] = served / ours;
    state.counters["ffmpeg_fps"] = pictures * runs / theirs;
    state.counters["ratio"] = theirs / (ours * scale);
    state.counters["cpu_ratio"] = theirsCpu / (oursCpu * scale);
}

void BM_VideoInOrder(benchmark::State& state) {
    Compare(state, "video", false, false);
}
void BM_VideoInOrderSmallCache(benchmark::State& state) {
    Compare(state, "video", false, false, true);
}
void BM_VideoRandom(benchmark::State& state) {
    Compare(state, "video", false, true);
}
void BM_FilmPulldownInOrder(benchmark::State& state) {
    Compare(state, "film", false, false);
}
void BM_FilmForcedInOrder(benchmark::State& state) {
    Compare(state, "film", true, false);
}
BENCHMARK(BM_VideoInOrder)->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VideoInOrderSmallCache)->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VideoRandom)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FilmPulldownInOrder)->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FilmForcedInOrder)->Iterations(5)->Unit(benchmark::kMillisecond);

}  // namespace
