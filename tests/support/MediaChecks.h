#pragma once
// What independent tools (ffprobe, ffmpeg) say of a file a test made, and the marks the test
// titles carry: a square in the middle of the picture that turns white while every audio channel
// beeps.
#include <string>
#include <vector>

#include "support/Shell.h"

namespace testing_support {

// One line of ffprobe's compact output for `entries` of `file`, e.g. Probe(f,
// "stream=codec_name") over every stream: "mpeg4|ac3".
std::string Probe(const std::string& file, const std::string& entries);
// What ffmpeg says when it decodes every stream of the file; empty when all is clean.
std::string DecodeProblems(const std::string& file);

// The mean luma of the region `crop` (an argument of ffmpeg's crop filter, e.g.
// "iw/10:ih/10:0:0") in every decoded frame of the first video stream, with the frame's time.
struct FrameLuma {
    double Seconds = 0;
    double Mean = 0;
};
std::vector<FrameLuma> MeanLuma(const std::string& file, const std::string& crop);

// When the square in the middle turns white, by the decoded frames' own times, and when each
// beep of audio stream `audio` starts (seconds from the start of the file).
std::vector<double> Flashes(const std::string& avi);
std::vector<double> Beeps(const std::string& avi, int audio);
// How long audio stream `audio` plays when ffmpeg decodes it.
double DecodedSeconds(const std::string& avi, int audio);

}  // namespace testing_support
