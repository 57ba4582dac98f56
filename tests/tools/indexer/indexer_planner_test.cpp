// The planner's own indexing stage and its FILM and field order detection, running the installed
// indexer on each generated title (the analysis runs of the job runner are still stand-ins).
#include "IndexerRun.h"
#include "encoder/DecideFakes.h"
#include "encoder/stages/Stages.h"
#include "media/IndexFile.h"
#include "platform/files.h"

namespace {

struct PlannerTitle {
    const char* folder;
    const char* firstVob;
    bool ntsc;
    int64_t frames;  // what the planner should find
    bool film;
};

class IndexerPlannerTest : public DecideRunTest {
  protected:
    std::unique_ptr<TMXEncoder> Job(const std::string& titles, const PlannerTitle& title) {
        TEncRecord job = TestJob(Output());
        job.InputDir = titles + "/" + title.folder + "/rip";
        job.VobInfo.FirstVob = title.firstVob;
        job.VobInfo.Video.IsNTSC = title.ntsc;
        auto run = std::make_unique<TMXEncoder>(job, false);
        run->IdctChoice = 3;
        EXPECT_TRUE(platform::ForceDirectories(run->TempFolder()));
        return run;
    }
};

TEST_F(IndexerPlannerTest, IndexingAndFilmDetectionOnEveryTitle) {
    INDEXER_TITLES(titles);
    Program().DVD2AVIPath = indexer_test::IndexerPath();
    const PlannerTitle kTitles[] = {
        {"pal_wide", "VTS_01_1.VOB", false, 75, false},
        {"ntsc_sets", "VTS_01_1.VOB", true, 30, false},
        {"ntsc_film", "VTS_01_1.VOB", true, 48, true},
        // 78 pictures, 61.54 % of them film: a quarter of those again for their pulldown.
        {"ntsc_hybrid", "VTS_01_1.VOB", true, 90, false},
        {"ntsc_hybrid", "vts_02_1.vob", true, 30, false},
    };
    for (const PlannerTitle& title : kTitles) {
        SCOPED_TRACE(std::string(title.folder) + " " + title.firstVob);
        platform::DeleteTree(fakeDir + "/analyses.txt");
        Prepare("interlace1.log", LogText(Marks(CombedShare(0))));  // nothing combed
        auto run = Job(titles, title);
        kIndexForEncoding.Work(*run);
        // The planner's audio search finds the track the indexer demultiplexed.
        EXPECT_NE(platform::FindFirstMatch(run->TempFolder(), "film* t01 *", true), "");
        kDetectFieldOrder.Work(*run);
        const std::vector<std::string> story = Story(run->JobLog);
        const std::string found = "Found " + std::to_string(title.frames) + " frames";
        const media::IndexFile index = media::ReadIndexFile(run->Source.D2VFile);
        if (title.film) {
            EXPECT_EQ(story, (std::vector<std::string>{"Source seems to be pure FILM.", found}));
            EXPECT_EQ(run->Source.SourceType, stForcedFilm);
            EXPECT_EQ(index.fieldOperation, 1);  // rewritten by the planner, read by the decoder
            EXPECT_EQ(index.frameRate, 23976);
        } else {
            ASSERT_GE(story.size(), 2u);
            EXPECT_EQ(story.front(), "Analyzing source.");
            EXPECT_EQ(story.back(), found);
            EXPECT_EQ(run->Source.SourceType, stProgressive);
            EXPECT_EQ(index.fieldOperation, 0);
            EXPECT_EQ(index.frameRate, title.ntsc ? 29970 : 25000);
        }
        EXPECT_EQ(run->Source.FrameCount, title.frames);
    }
}

}  // namespace
