#include "AudioChecks.h"

#include <fcntl.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <filesystem>

#include "platform/process.h"
#include "support/FakeInstallation.h"
#include "support/Shell.h"
#include "support/TestEnv.h"

namespace audio_checks {
namespace {

using testing_support::Quoted;

std::string Pipe(const std::string& command) {
    return testing_support::Shell(command, false).output;
}

// Points descriptor `fd` at `path` until the end of the scope.
class Redirect {
  public:
    Redirect(int fd, const std::string& path) : fd_(fd), saved_(dup(fd)) {
        const int file = open(path.c_str(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
        dup2(file, fd);
        close(file);
    }
    ~Redirect() {
        dup2(saved_, fd_);
        close(saved_);
    }

  private:
    int fd_, saved_;
};

}  // namespace

const testing_support::GeneratedMedia& Media() {
    static const testing_support::GeneratedMedia media =
        testing_support::MakeMedia("make_audio_media.sh", "audio");
    return media;
}

std::string Track(const std::string& prefix) {
    const std::string folder = Media().Folder;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.path().filename().string().starts_with(prefix)) return entry.path().string();
    ADD_FAILURE() << "no track " << prefix << " in " << folder;
    return folder + "/" + prefix;
}

std::string TranscoderPath() {
    return testing_support::DistDir() + "/BeSweet/BeSweet.exe";
}

std::string CommandLine(const std::string& input, const std::string& output, const std::string& log,
                        const std::string& lame) {
    return TranscoderPath() + " -core( -input \"" + input + "\" -output \"" + output +
           "\" -logfile \"" + log + "\" ) -ota( -hybridgain ) -azid( -L -3db -c normal ) -lame( " +
           lame + " ) -profile( Movrex )";
}

RunResult RunLine(const std::string& commandLine) {
    testing_support::TempDir dir;
    RunResult result;
    {
        Redirect out(1, dir.File("out")), err(2, dir.File("err"));
        platform::Process process;
        if (process.Start(commandLine, {})) result.status = process.Wait();
    }
    result.output = testing_support::ReadAll(dir.File("out"));
    result.errors = testing_support::ReadAll(dir.File("err"));
    return result;
}

std::string Probe(const std::string& path, const std::string& entry) {
    const std::string select = entry.starts_with("stream") ? "-select_streams a:0 " : "";
    std::string text = Pipe("ffprobe -v error " + select + "-show_entries " + entry +
                            " -of default=nw=1:nk=1 " + Quoted(path));
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    return text;
}

Decoded Decode(const std::string& path, const std::string& flags) {
    Decoded d;
    d.channels = std::atoi(Probe(path, "stream=channels").c_str());
    const std::string raw =
        Pipe("ffmpeg -v error " + flags + " -i " + Quoted(path) + " -f f32le - 2>/dev/null");
    d.samples.resize(raw.size() / sizeof(float));
    std::copy(raw.data(), raw.data() + d.samples.size() * sizeof(float),
              reinterpret_cast<char*>(d.samples.data()));
    return d;
}

double ToneLevel(const Decoded& d, int channel, double hz) {
    const size_t from = 4800, count = 48000;
    if (d.Frames() < from + count) return -1;
    double re = 0, im = 0;
    for (size_t i = 0; i < count; ++i) {
        const double x = d.samples[(from + i) * size_t(d.channels) + size_t(channel)];
        re += x * std::cos(2 * M_PI * hz * double(i) / 48000);
        im += x * std::sin(2 * M_PI * hz * double(i) / 48000);
    }
    return 2 * std::hypot(re, im) / double(count);
}

}  // namespace audio_checks
