#pragma once
// The authored title of tests/media/make_subtitle_titles.sh, and the installed programs run on it
// with the planner's own command lines.
#include <gtest/gtest.h>

#include "archiver/Commands.h"
#include "encoder/rules/VobSubParams.h"
#include "platform/process.h"
#include "scripts/avs.h"
#include "support/GeneratedMedia.h"
#include "support/TestEnv.h"

namespace subtitletest {

struct Authored {
    int stream;
    int64_t ms;  // on the title's timeline: the second cell starts at 2 s
    bool yellow;
    bool forced;
};

// What the media script authors in pal_captions, stream by stream.
inline constexpr Authored kAuthored[] = {{0, 200, false, false},  {0, 1200, true, true},
                                         {0, 2400, false, false}, {1, 500, false, false},
                                         {1, 2800, true, false},  {2, 1000, true, false}};
inline constexpr int64_t kFrameMs = 40;
inline constexpr int64_t kSecondCellMs = 2000;

class TitleCase : public testing::Test {
  protected:
    void SetUp() override {
        const auto media = testing_support::MakeMedia(SUBTITLE_MEDIA_SCRIPT, "subtitles");
        if (!media.SkipReason.empty()) GTEST_SKIP() << media.SkipReason;
        ASSERT_TRUE(media.Error.empty()) << media.Error;
        rip_ = media.Folder + "/pal_captions/rip";
        ifo_ = rip_ + "/VTS_01_0.IFO";
    }
    // Starts a command line as the planner's runner does: one string, split by the Windows rules,
    // a bare program name looked up in the system folder. The exit status.
    int Planner(const std::string& line) const {
        testing_support::ScopedEnv system("MOVREX_SYSTEM_DIR", dist_ + "/system");
        platform::Process process;
        std::string error;
        if (!process.Start(line, {}, &error)) ADD_FAILURE() << error;
        return process.Wait();
    }
    // Runs the installed Configure on a parameter file as the planner writes it (the planner
    // lists two streams at most; more are read alike). The pair's name has a blank and a
    // non-ASCII letter, as output names may. The base name of the pair.
    std::string Extract(const std::vector<int>& streams, int chain = 1,
                        const std::string& ifo = {}) {
        const std::string base = dir_.File("Mein Film ä");
        std::vector<std::string> lines =
            VobSubParamLines(ifo.empty() ? ifo_ : ifo, base, chain, 0, streams[0], -1);
        lines[4].clear();
        for (int stream : streams) lines[4] += std::to_string(stream) + " ";
        lines[4] += "cc";
        const std::string params = dir_.File("vobsub.params");
        SaveScript(lines, params);
        configure_ = tooltest::Run(
            {dist_ + "/system/rundll32", dist_ + "/system/vobsub.dll,Configure", params});
        return base;
    }

    const std::string dist_ = testing_support::DistDir();
    std::string rip_, ifo_;
    testing_support::TempDir dir_;
    tooltest::CommandResult configure_;  // of the last Extract
};

}  // namespace subtitletest
