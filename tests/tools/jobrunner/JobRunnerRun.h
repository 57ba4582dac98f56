#pragma once
// Runs the installed job runner on jobs the planner's own writers make, over the sync title of
// tests/media/make_jobrunner_media.sh served by the frame server's test source (it stands in for
// the decoder until that lands: a real title's index replaces flash.y4m then), and the
// independent readings of what it writes: ffprobe, and ffmpeg's decoding for the sync marks.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "scripts/avs.h"
#include "support/MediaChecks.h"
#include "support/TestEnv.h"

namespace jobrunner_test {

using testing_support::Beeps;
using testing_support::DecodedSeconds;
using testing_support::DecodeProblems;
using testing_support::Flashes;
using testing_support::Probe;
using testing_support::ProgramRun;
using testing_support::Quoted;
using testing_support::Shell;

std::string JobRunnerPath();

class JobRunnerTest : public ::testing::Test {
  protected:
    JobRunnerTest();
    void SetUp() override;

    // A file in the media folder ("flash.y4m", "vbr/flash T01 ... DELAY 200ms.mp3").
    std::string Media(const std::string& name) const { return media_ + "/" + name; }
    std::string File(const std::string& name) const { return dir_.File(name); }
    // The planner's movie script over flash.y4m at the title's own size, saved as `name`.
    std::string MovieScript(const std::string& name = "movie.avs") const;
    // Saves `job` (CR LF, as the planner saves it) and runs it; `switches` go before /x /s.
    ProgramRun Run(const TScriptLines& job, const std::string& switches = "") const;
    // The planner's script environment, its codec state read from the installed codecs.
    TScriptEnvironment Environment() const;

    testing_support::TempDir dir_;
    testing_support::ScopedEnv config_, system_, machine_;
    std::string media_;
};

}  // namespace jobrunner_test
