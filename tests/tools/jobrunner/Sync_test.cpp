// Sync: on a title whose flashes and beeps fall together, the final AVI keeps them together at
// its start and at its end, for audio that starts after, with and before the video, as AC3 and
// as both kinds of MP3.
#include <cmath>

#include "JobRunnerRun.h"

namespace {

using namespace jobrunner_test;

constexpr double kFrameSeconds = 0.04;

// How far the beep lies from the nearest flash.
double Apart(double beep, const std::vector<double>& flashes) {
    double nearest = 1e9;
    for (double f : flashes) nearest = std::min(nearest, std::abs(f - beep));
    return nearest;
}

using Sync = JobRunnerTest;

TEST_F(Sync, FirstAndLastBeepMeetTheirFlashes) {
    const std::string script = MovieScript();
    const struct {
        const char* folder;  // where the track lies in the media
        const char* extension;
        uint8_t mode;
    } kinds[] = {{"", "ac3", 1}, {"vbr/", "mp3", 2}, {"cbr/", "mp3", 3}};
    for (const auto& kind : kinds) {
        for (int delay : {200, 0, -200}) {
            const std::string track = std::string(kind.folder) +
                                      "flash T01 AC3 2ch 48kHz 192Kbps DELAY " +
                                      std::to_string(delay) + "ms." + kind.extension;
            SCOPED_TRACE(track);
            TScriptLines job;
            MakeFinalJob(job, script, File("film.avi"), Media(track), "", kind.mode, 0, "English",
                         "", Environment());
            const ProgramRun run = Run(job);
            ASSERT_EQ(run.status, 0) << run.output;
            const std::vector<double> flashes = Flashes(File("film.avi"));
            std::vector<double> beeps = Beeps(File("film.avi"), 0);
            ASSERT_EQ(flashes.size(), 8u);
            // The track's beep for the second after the last picture may just begin at the end.
            std::erase_if(beeps, [&](double b) { return b > flashes.back() + 0.5; });
            // A track that starts 200 ms late has no beep for the first flash.
            ASSERT_EQ(beeps.size(), delay > 0 ? 7u : 8u);
            EXPECT_LT(Apart(beeps.front(), flashes), kFrameSeconds) << beeps.front();
            EXPECT_LT(Apart(beeps.back(), flashes), kFrameSeconds) << beeps.back();
        }
    }
}

}  // namespace
