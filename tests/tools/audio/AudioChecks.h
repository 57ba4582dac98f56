#pragma once
// Shared by the tests of the installed transcoder: the generated tracks, a run of the program
// as the planner starts it, and readings of its MP3 by ffprobe and ffmpeg.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/GeneratedMedia.h"

namespace audio_checks {

// Skips the test when the tracks of tests/media/make_audio_media.sh cannot be made for want of a
// tool, fails it when making them failed.
#define REQUIRE_AUDIO_MEDIA()                                              \
    do {                                                                   \
        const auto& media_ = ::audio_checks::Media();                      \
        if (!media_.SkipReason.empty()) GTEST_SKIP() << media_.SkipReason; \
        ASSERT_EQ(media_.Error, "");                                       \
    } while (0)
const testing_support::GeneratedMedia& Media();
// The generated track whose name starts with `prefix`.
std::string Track(const std::string& prefix);
std::string TranscoderPath();

// The planner's command line for `lame` (the inside of the -lame( ) group).
std::string CommandLine(const std::string& input, const std::string& output, const std::string& log,
                        const std::string& lame);

struct RunResult {
    int status = -1;
    std::string errors;  // standard error
    std::string output;  // standard output
};
// Runs a whole command line (program first) as the planner does and waits for it.
RunResult RunLine(const std::string& commandLine);

// `ffprobe -show_entries` of the first audio stream or the format ("stream=channels").
std::string Probe(const std::string& path, const std::string& entry);

struct Decoded {
    int channels = 0;
    std::vector<float> samples;  // interleaved
    size_t Frames() const { return channels ? samples.size() / size_t(channels) : 0; }
};
// ffmpeg's decoding of `path` at its own channel count; `flags` go before the input.
Decoded Decode(const std::string& path, const std::string& flags = "");

// The amplitude of a tone of `hz` in channel `channel` (Goertzel over one second from 0.1 s).
double ToneLevel(const Decoded& d, int channel, double hz);

}  // namespace audio_checks
