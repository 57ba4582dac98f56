#include "JobRunnerRun.h"

#include <sys/wait.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "support/GeneratedMedia.h"

namespace jobrunner_test {

namespace {

constexpr int kAudioRate = 48000;

}  // namespace

ProgramRun Shell(const std::string& command) {
    ProgramRun run;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe) return run;
    char buffer[4096];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) run.output.append(buffer, n);
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

std::string Quoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

std::string JobRunnerPath() {
    return testing_support::DistDir() + "/VDubMod/VirtualDubMod.exe";
}

std::string Probe(const std::string& file, const std::string& entries) {
    std::string out =
        Shell("ffprobe -v error -show_entries " + entries + " -of compact=p=0:nk=1 " + Quoted(file))
            .output;
    while (!out.empty() && out.back() == '\n') out.pop_back();
    for (char& c : out)
        if (c == '\n') c = '|';
    return out;
}

std::string DecodeProblems(const std::string& file) {
    const ProgramRun run = Shell("ffmpeg -v error -i " + Quoted(file) + " -map 0 -f null -");
    return run.status == 0 ? run.output
                           : run.output + " (exit status " + std::to_string(run.status) + ")";
}

std::vector<double> Flashes(const std::string& avi) {
    // The middle tenth of the picture, inside the square whatever the picture's size.
    const std::string out = Shell("ffmpeg -v error -i " + Quoted(avi) +
                                  " -map 0:v:0 -fps_mode passthrough -vf "
                                  "'crop=iw/10:ih/10:(iw-iw/10)/2:(ih-ih/10)/2,signalstats,"
                                  "metadata=print:key=lavfi.signalstats.YAVG:file=-' -f null -")
                                .output;
    static const std::regex kLine(R"(pts_time:(\S+)\s+lavfi\.signalstats\.YAVG=(\S+))");
    std::vector<double> flashes;
    bool white = false;
    for (std::sregex_iterator it(out.begin(), out.end(), kLine), end; it != end; ++it) {
        const bool now = std::stod((*it)[2]) > 128;
        if (now && !white) flashes.push_back(std::stod((*it)[1]));
        white = now;
    }
    return flashes;
}

namespace {

// The audio stream decoded to 48 kHz mono, 16 bits, in a file beside the AVI.
std::string Decoded(const std::string& avi, int audio) {
    const std::string raw = avi + ".pcm";
    Shell("ffmpeg -v error -y -i " + Quoted(avi) + " -map 0:a:" + std::to_string(audio) +
          " -ac 1 -ar 48000 -f s16le " + Quoted(raw));
    return raw;
}

}  // namespace

double DecodedSeconds(const std::string& avi, int audio) {
    const std::string raw = Decoded(avi, audio);
    const double seconds = double(std::filesystem::file_size(raw)) / 2 / kAudioRate;
    std::filesystem::remove(raw);
    return seconds;
}

std::vector<double> Beeps(const std::string& avi, int audio) {
    const std::string raw = Decoded(avi, audio);
    std::ifstream in(raw, std::ios::binary);
    std::vector<double> beeps;
    int64_t quiet = kAudioRate, n = 0;
    for (int16_t sample; in.read(reinterpret_cast<char*>(&sample), 2); ++n) {
        if (std::abs(sample) <= 3000) {
            ++quiet;
            continue;
        }
        // A beep starts after half a second of quiet.
        if (quiet > kAudioRate / 2) beeps.push_back(double(n) / kAudioRate);
        quiet = 0;
    }
    std::filesystem::remove(raw);
    return beeps;
}

JobRunnerTest::JobRunnerTest()
    : config_("MOVREX_CONFIG_DIR", dir_.File("config")),
      system_("MOVREX_SYSTEM_DIR", testing_support::DistDir() + "/system"),
      machine_("MOVREX_MACHINE_HIVE", testing_support::DistDir() + "/system/machine.reg") {}

void JobRunnerTest::SetUp() {
    const auto media = testing_support::MakeMedia("make_jobrunner_media.sh", "jobrunner");
    if (!media.SkipReason.empty()) GTEST_SKIP() << media.SkipReason;
    ASSERT_EQ(media.Error, "");
    media_ = media.Folder;
    // The test source plugin reads the .y4m where the decoder would read the index; the filters
    // pass the frames on.
    const std::filesystem::path filters = dir_.File("filters");
    std::filesystem::create_directories(filters);
    std::filesystem::create_directories(File("mx_tmp"));
    std::filesystem::copy_file(FS_SOURCE_PLUGIN, filters / "mpeg2dec3dg.dll");
    for (const char* name : {"decomb", "chr", "autocrop", "undot", "kerneldeint", "vsfilter"})
        std::filesystem::copy_file(FS_STANDIN_PLUGIN, filters / (std::string(name) + ".dll"));
}

TScriptEnvironment JobRunnerTest::Environment() const {
    TScriptEnvironment env;
    env.ProgramDir = dir_.Path();
    env.HasSSE = true;
    return env;
}

std::string JobRunnerTest::MovieScript(const std::string& name) const {
    TMovieScriptParams params;
    params.D2VFile = Media("flash.y4m");
    params.OutWidth = 352;
    params.ResizeTemplate = "LanczosResize(%s,%s)";
    params.SourceType = stProgressive;
    params.PixelAspect = 1;
    TScriptLines lines;
    MakeMovieScript(lines, params, TMovieScriptUse::Encoding, Environment());
    SaveScript(lines, File(name));
    return File(name);
}

ProgramRun JobRunnerTest::Run(const TScriptLines& job, const std::string& switches) const {
    const std::string path = File("mx_tmp/lastjob.vcf");
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    SaveScript(job, path);
    return Shell(Quoted(JobRunnerPath()) + " " + switches + " /x /s" + Quoted(path));
}

}  // namespace jobrunner_test
