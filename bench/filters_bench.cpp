// The movie script the planner writes, decoded and filtered frame by frame through our frame
// server, decoder and filter plugins from the title's index (made by our indexer), against
// ffmpeg's nearest chain decoding the same VOB, in the same run. Decoding takes the threads
// libavcodec picks on both sides, filtering one thread.
//   FILM, soft pulldown: the pulled-down frames through Telecide, Decimate, autocrop twice, Undot
//                  and LanczosResize to 640 wide, against
//                  repeatfields,fieldmatch,decimate,crop,scale=640:-2:flags=lanczos
//   FILM, hard telecine: the same script, against the chain without repeatfields
//   interlaced:    KernelDeInt, autocrop twice, Undot, LanczosResize, against
//                  yadif,crop,scale=640:-2:flags=lanczos
// The soft-pulldown film (20 s) and the interlaced video (30 s) are the decoder benchmark's
// DVD-sized titles (bench/make_decoder_bench_titles.sh); the hard telecine is the filter tests'
// 352x480 title (tests/media/make_filter_clips.sh).
// Counters: frames per second of each, ratio = ours / ffmpeg's speed (above 1: ours is faster),
// cpu_ratio the same in processor time, ours_open_ms the time our script takes to open (its two
// autocrop calls measure their samples then), which counts in ours.
#include <chrono>
#include <filesystem>
#include <string>

#include "AgainstFfmpeg.h"
#include "language/Interpreter.h"
#include "scripts/avs.h"

namespace {

const std::string kDvdTitles = DECODER_BENCH_MEDIA_DIR;
const std::string kFilterTitles = FILTER_BENCH_MEDIA_DIR;

// A folder laid out as an installation: filters/ with the built plugins. Made once per run: a
// plugin loaded before must not be overwritten.
std::string MakeInstallation() {
    namespace fs = std::filesystem;
    const std::string dir = kFilterTitles + "/bench-install";
    fs::create_directories(dir + "/filters");
    for (const char* name : {"decomb", "autocrop", "undot", "kerneldeint"})
        fs::copy_file(std::string(FILTER_PLUGIN_DIR) + "/" + name + ".dll",
                      dir + "/filters/" + name + ".dll", fs::copy_options::overwrite_existing);
    fs::copy_file(DECODER_PLUGIN, dir + "/filters/mpeg2dec3dg.dll",
                  fs::copy_options::overwrite_existing);
    return dir;
}

const std::string& Installation() {
    static const std::string dir = MakeInstallation();
    return dir;
}

// The VOB's index as the indexer leaves it (made once); "" when it cannot be made.
std::string Index(const std::string& vob) {
    const std::string base = vob.substr(0, vob.size() - 4) + "_bench";
    const std::string command =
        std::string("'") + INDEXER + "' '-AIF=[" + vob + "]' '-OF=[" + base + "]' -Exit >/dev/null";
    return std::system(command.c_str()) == 0 ? base + ".d2v" : "";
}

// Serves the whole movie script; the number of frames served. `openSeconds` gets the time the
// script took to open, autocrop's measurements included.
int ServeOurs(const std::string& d2v, uint8_t sourceType, double& openSeconds) {
    const auto start = std::chrono::steady_clock::now();
    TScriptEnvironment env;
    env.ProgramDir = Installation();
    env.HasSSE = true;
    TMovieScriptParams run;
    run.D2VFile = d2v;
    run.OutWidth = 640;
    run.ResizeTemplate = "LanczosResize(%s,%s)";
    run.SourceType = sourceType;
    run.PixelAspect = 0.911392405063291;
    TScriptLines lines;
    MakeMovieScript(lines, run, TMovieScriptUse::Encoding, env);
    fsrv::script::Interpreter in("_movie.avs");
    const fsrv::ClipPtr movie = in.Run(ScriptFileText(lines));
    openSeconds += benchsupport::Seconds(start);
    for (int n = 0; n < movie->Info().frameCount; ++n) benchmark::DoNotOptimize(movie->GetFrame(n));
    return movie->Info().frameCount;
}

void Compare(benchmark::State& state, const char* script, const std::string& folder,
             const std::string& vob, uint8_t sourceType, const char* filter) {
    if (!benchsupport::MakeClips(state, script, folder)) return;
    const std::string d2v = Index(folder + "/" + vob);
    if (d2v.empty()) return state.SkipWithError("the title cannot be indexed");
    double openSeconds = 0;
    benchsupport::Compare(
        state, [&] { return ServeOurs(d2v, sourceType, openSeconds); }, folder + "/" + vob, filter,
        benchsupport::Decoding::LibraryThreads);
    state.counters["ours_open_ms"] = 1000 * openSeconds / double(state.iterations());
}

void BM_SoftFilmMovieScript(benchmark::State& state) {
    Compare(state, DECODER_BENCH_MEDIA_SCRIPT, kDvdTitles, "film/VTS_01_1.VOB", stFilm,
            "repeatfields,fieldmatch,decimate,crop=iw:ih:0:0,scale=640:-2:flags=lanczos");
}
void BM_HardFilmMovieScript(benchmark::State& state) {
    Compare(state, FILTER_MEDIA_SCRIPT, kFilterTitles, "titles/hard/rip/VTS_01_1.VOB", stFilm,
            "fieldmatch,decimate,crop=iw:ih:0:0,scale=640:-2:flags=lanczos");
}
void BM_InterlacedMovieScript(benchmark::State& state) {
    Compare(state, DECODER_BENCH_MEDIA_SCRIPT, kDvdTitles, "video/VTS_01_1.VOB", stInterlaced,
            "yadif,crop=iw:ih:0:0,scale=640:-2:flags=lanczos");
}
BENCHMARK(BM_SoftFilmMovieScript)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HardFilmMovieScript)->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InterlacedMovieScript)->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace
