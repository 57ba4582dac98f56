// Configure on a title authored with spumux, its packets read by libavformat in place of the VOB
// reader; what it writes is judged by ffmpeg's vobsub demuxer and subpicture decoder.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "IndexText.h"
#include "PairReading.h"
#include "TitleCase.h"
#include "encoder/TextFiles.h"
#include "encoder/rules/VobSubParams.h"

namespace {

using subtitletest::Authored;
using subtitletest::kAuthored;
using subtitletest::kFrameMs;
using subtitletest::SeenSubpicture;
using TitleConfigure = subtitletest::TitleCase;

TEST_F(TitleConfigure, DemuxerReadsEveryCaptionAtItsAuthoredTimeWithTheIfoPalette) {
    const std::string base = Extract({0, 1, 2});
    const subtitletest::SeenPair pair = subtitletest::ReadPairWithFfmpeg(base + ".idx");
    ASSERT_EQ(pair.error, "");
    ASSERT_EQ(pair.subpictures.size(), std::size(kAuthored));
    for (const Authored& a : kAuthored) {
        const auto seen = std::find_if(
            pair.subpictures.begin(), pair.subpictures.end(), [&](const SeenSubpicture& s) {
                return s.stream == a.stream && std::abs(s.ms - a.ms) < kFrameMs;
            });
        ASSERT_NE(seen, pair.subpictures.end()) << "stream " << a.stream << " at " << a.ms;
        EXPECT_EQ(seen->language, std::string(a.stream == 0 ? "en" : a.stream == 1 ? "de" : "fr"));
        EXPECT_EQ(seen->forced, a.forced) << a.ms;
        EXPECT_EQ(seen->yellow, a.yellow) << a.ms;
        EXPECT_EQ(seen->white, !a.yellow) << a.ms;
    }
}

// The planner sets the language and forced-subtitle lines in the first 200 lines of the index;
// the pair stays readable after its edit, and a cut keeps the edited lines.
TEST_F(TitleConfigure, PlannerEditsTheHeaderLinesItLooksFor) {
    const std::string idx = Extract({0, 1}) + ".idx";
    TTextLines index = LoadLinesKeepingEnds(idx);
    const std::vector<std::string> before = index.Lines;
    EditSubtitleIndex(index.Lines, 1, true);
    SaveLinesKeepingEnds(index, idx);
    std::vector<std::string> changed;
    for (size_t i = 0; i < before.size(); ++i)
        if (before[i] != index.Lines[i]) changed.push_back(before[i] + " -> " + index.Lines[i]);
    EXPECT_EQ(changed, (std::vector<std::string>{"forced subs: OFF -> forced subs: ON",
                                                 "langidx: 0 -> langidx: 1"}));
    EXPECT_EQ(subtitletest::ReadPairWithFfmpeg(idx).subpictures.size(), 5u);
}

TEST_F(TitleConfigure, StreamNotInTheTitleGetsAnEmptyBlockAndAWarning) {
    testing::internal::CaptureStderr();
    const std::string base = Extract({2, 7});
    const std::string warnings = testing::internal::GetCapturedStderr();
    EXPECT_NE(warnings.find("no subpictures in stream 7 (the title set lists no such stream)"),
              std::string::npos)
        << warnings;
    std::vector<std::string> problems;
    const subtitles::SubtitleIndex index =
        subtitles::ParseIndex(testing_support::ReadAll(base + ".idx"), base, problems);
    ASSERT_EQ(index.streams.size(), 2u);
    EXPECT_EQ(index.streams[0].entries.size(), 1u);
    EXPECT_TRUE(index.streams[1].entries.empty());
    EXPECT_EQ(subtitletest::ReadPairWithFfmpeg(base + ".idx").subpictures.size(), 1u);
}

TEST_F(TitleConfigure, MissingChainIsAnErrorAndWritesNothing) {
    EXPECT_THROW(
        {
            try {
                Extract({0}, 2);
            } catch (const std::exception& e) {
                EXPECT_NE(std::string(e.what()).find("no program chain 2"), std::string::npos);
                throw;
            }
        },
        std::runtime_error);
    EXPECT_FALSE(std::filesystem::exists(dir_.File("Mein Film ä.idx")));
}

}  // namespace
