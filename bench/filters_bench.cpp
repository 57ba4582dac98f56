// The movie script the planner writes, served frame by frame through our frame server and filter
// plugins, against ffmpeg's nearest chain on the same clip in the same run, both on one thread
// and both reading the same YUV4MPEG2 file (the clips of tests/media/make_filter_clips.sh; the
// decoder plugin is not in the comparison yet):
//   FILM (hard telecine): Telecide, Decimate, autocrop, Undot, LanczosResize to 640 wide
//                         against fieldmatch,decimate,crop,scale=640:-2:flags=lanczos
//   interlaced:           KernelDeInt, autocrop, Undot, LanczosResize to 640 wide
//                         against yadif,crop,scale=640:-2:flags=lanczos
// Counters: frames per second of each and ratio = ours / ffmpeg's (above 1: ours is faster).
#include <filesystem>
#include <string>

#include "AgainstFfmpeg.h"
#include "language/Interpreter.h"
#include "scripts/avs.h"

namespace {

const std::string kClips = MOVREX_BENCH_MEDIA_DIR;

// A folder laid out as an installation: filters/ with the built plugins and the test source
// under the decoder's name. Made once per run: a plugin loaded before must not be overwritten.
std::string MakeInstallation() {
    namespace fs = std::filesystem;
    const std::string dir = kClips + "/bench-install";
    fs::create_directories(dir + "/filters");
    for (const char* name : {"decomb", "autocrop", "undot", "kerneldeint"})
        fs::copy_file(std::string(FILTER_PLUGIN_DIR) + "/" + name + ".dll",
                      dir + "/filters/" + name + ".dll", fs::copy_options::overwrite_existing);
    fs::copy_file(FS_SOURCE_PLUGIN, dir + "/filters/mpeg2dec3dg.dll",
                  fs::copy_options::overwrite_existing);
    return dir;
}

const std::string& Installation() {
    static const std::string dir = MakeInstallation();
    return dir;
}

// Serves the whole movie script; the number of frames served.
int ServeOurs(const std::string& clip, uint8_t sourceType) {
    TScriptEnvironment env;
    env.ProgramDir = Installation();
    env.HasSSE = true;
    TMovieScriptParams run;
    run.D2VFile = kClips + "/" + clip;
    run.OutWidth = 640;
    run.ResizeTemplate = "LanczosResize(%s,%s)";
    run.SourceType = sourceType;
    run.PixelAspect = 0.911392405063291;
    TScriptLines lines;
    MakeMovieScript(lines, run, TMovieScriptUse::Encoding, env);
    fsrv::script::Interpreter in("_movie.avs");
    const fsrv::ClipPtr movie = in.Run(ScriptFileText(lines));
    for (int n = 0; n < movie->Info().frameCount; ++n) benchmark::DoNotOptimize(movie->GetFrame(n));
    return movie->Info().frameCount;
}

void Compare(benchmark::State& state, const char* clip, uint8_t sourceType, const char* filter) {
    if (!benchsupport::MakeClips(state, FILTER_MEDIA_SCRIPT, kClips)) return;
    benchsupport::Compare(
        state, [&] { return ServeOurs(clip, sourceType); }, kClips + "/" + clip, filter);
}

void BM_FilmMovieScript(benchmark::State& state) {
    Compare(state, "hard.y4m", stFilm,
            "fieldmatch,decimate,crop=iw:ih:0:0,scale=640:-2:flags=lanczos");
}
void BM_InterlacedMovieScript(benchmark::State& state) {
    Compare(state, "interlaced.y4m", stInterlaced,
            "yadif,crop=iw:ih:0:0,scale=640:-2:flags=lanczos");
}
BENCHMARK(BM_FilmMovieScript)->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InterlacedMovieScript)->Iterations(5)->Unit(benchmark::kMillisecond);

}  // namespace
