#pragma once
// Whole conversions by the installed headless program on the titles of
// tests/media/make_e2e_titles.sh, and what independent tools read back from the AVI: ffprobe's
// streams, ffmpeg's decoding of the counter, the flashes and beeps, the interlace detector.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/MediaChecks.h"
#include "support/TestEnv.h"

namespace e2e_test {

using testing_support::Probe;
using testing_support::ProgramRun;
using testing_support::Quoted;
using testing_support::Shell;

// The title folder (as ripped) of a title of make_e2e_titles.sh.
std::string TitleFolder(const std::string& media, const std::string& title);

// One movrex-cli job: its command line, where it runs, and what it left.
struct Conversion {
    std::string Avi;     // the output file
    std::string Config;  // its configuration folder (MOVREX_CONFIG_DIR), runtime folder beside it
    ProgramRun Run;      // exit status, standard output and error
    // The job log beside the AVI.
    std::string JobLog() const;
};

// The shell command that starts movrex-cli (the installed one's launcher unless `program` says
// otherwise) for `c` with `args` after the input and output, with a configuration and runtime
// folder of its own, so that it sees no other job's codec settings or lock.
std::string CliCommand(const Conversion& c, const std::string& input,
                       const std::vector<std::string>& args, const std::string& program = "");

// The counter of every decoded frame, in the order ffmpeg shows them; -1 where a frame's cells
// are neither clearly white nor clearly black.
std::vector<int> Counters(const std::string& avi);
// ffmpeg's interlace detector over the whole video: frames it found progressive, and interlaced.
struct Fields {
    int Progressive = 0;
    int Interlaced = 0;
};
Fields DetectFields(const std::string& file);
// The width over the height of the square as displayed, from a frame where it is white.
double SquareAspect(const std::string& avi, double flashSeconds);
// The mean luma of a band of the picture (fractions of its width and height) in each frame,
// with the frame's time.
std::vector<testing_support::FrameLuma> Band(const std::string& avi, double x, double y, double w,
                                             double h);

class E2eTest : public ::testing::Test {
  protected:
    void SetUp() override;

    // Converts `title` into `name`.avi in a folder of its own: movrex-cli with `args` after
    // --input and --output.
    Conversion Convert(const std::string& title, const std::string& name,
                       const std::vector<std::string>& args);
    // A conversion set up but not started (for runs that a test starts itself).
    Conversion Prepare(const std::string& name) const;

    // The files of a job (the AVI, and the subtitles beside it) take no more than the target
    // and are within 1 % under it.
    static void ExpectSize(const std::vector<std::string>& files, int megabytes);
    // Every flash has its beep on every audio stream, and the first and last of each are less
    // than a frame apart.
    static void ExpectInSync(const std::string& avi, int audioStreams, double frameSeconds);

    testing_support::TempDir dir_;
    std::string media_;
};

}  // namespace e2e_test
