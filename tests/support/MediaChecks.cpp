#include "support/MediaChecks.h"

#include <sys/wait.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>

namespace testing_support {

namespace {

constexpr int kAudioRate = 48000;

}  // namespace

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

std::vector<FrameLuma> MeanLuma(const std::string& file, const std::string& crop) {
    const std::string out = Shell("ffmpeg -v error -i " + Quoted(file) +
                                  " -map 0:v:0 -fps_mode passthrough -vf 'crop=" + crop +
                                  ",signalstats,metadata=print:key=lavfi.signalstats.YAVG:file=-'"
                                  " -f null -")
                                .output;
    static const std::regex kLine(R"(pts_time:(\S+)\s+lavfi\.signalstats\.YAVG=(\S+))");
    std::vector<FrameLuma> frames;
    for (std::sregex_iterator it(out.begin(), out.end(), kLine), end; it != end; ++it)
        frames.push_back({std::stod((*it)[1]), std::stod((*it)[2])});
    return frames;
}

std::vector<double> Flashes(const std::string& avi) {
    // The middle tenth of the picture, inside the square whatever the picture's size.
    std::vector<double> flashes;
    bool white = false;
    for (const FrameLuma& frame : MeanLuma(avi, "iw/10:ih/10:(iw-iw/10)/2:(ih-ih/10)/2")) {
        const bool now = frame.Mean > 128;
        if (now && !white) flashes.push_back(frame.Seconds);
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

}  // namespace testing_support
