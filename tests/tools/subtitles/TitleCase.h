#pragma once
// The authored title of tests/media/make_subtitle_titles.sh and Configure run on it, its packets
// read by libavformat in place of the VOB reader.
#include <gtest/gtest.h>

#include "Configure.h"
#include "TitlePackets.h"
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
        ifo_ = media.Folder + "/pal_captions/rip/VTS_01_0.IFO";
    }
    // Runs Configure; the pair's name has a blank and a non-ASCII letter, as output names may.
    std::string Extract(std::vector<int> streams, int chain = 1) {
        subtitles::ConfigureParams params;
        params.ifoPath = ifo_;
        params.base = dir_.File("Mein Film ä");
        params.chain = chain;
        params.streams = std::move(streams);
        LibavTitlePackets packets(ifo_);
        subtitles::RunConfigure(params, &packets);
        return params.base;
    }

    std::string ifo_;
    testing_support::TempDir dir_;
};

}  // namespace subtitletest
