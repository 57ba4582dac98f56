#include "encoder/StageTestSupport.h"
#include "encoder/rules/VobSubParams.h"

namespace {

using Strings = std::vector<std::string>;

TEST(VobSubParams, IfoNamesChainAndAngleFromTheVobName) {
    const struct {
        const char* vob;
        const char* ifo;
        const char* plain;
        int32_t chain, angle;
    } cases[] = {
        {"VTS_01_1.VOB", "VTS_01_0.ifo", "VTS_01_0.ifo", 1, 0},
        {"VTS_02_PGC_03_1.VOB", "VTS_02_PGC_03_0.ifo", "VTS_02_0.ifo", 3, 0},
        {"VTS_01_ANGLE_2_1.VOB", "VTS_01_ANGLE_2_0.ifo", "VTS_01_0.ifo", 1, 2},
        {"VTS_01_PGC_12_ANGLE_3_1.VOB", "VTS_01_PGC_12_ANGLE_3_0.ifo", "VTS_01_0.ifo", 12, 3},
        {"A.VOB", "", "", 1, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.vob);
        EXPECT_EQ(IfoNameOf(c.vob), c.ifo);
        EXPECT_EQ(PlainIfoNameOf(c.vob), c.plain);
        EXPECT_EQ(ProgramChainOf(c.vob), c.chain);
        EXPECT_EQ(AngleOf(c.vob), c.angle);
    }
    // A marker without its number is reported, not read past the name.
    EXPECT_THROW(ProgramChainOf("VTS_01_PGC"), std::runtime_error);
    EXPECT_THROW(AngleOf("VTS_01_ANGLE_x_1.VOB"), std::runtime_error);
}

TEST(VobSubParams, TheParameterLinesAndTheHeaderEdits) {
    EXPECT_EQ(VobSubParamLines("/d/VTS_01_0.ifo", "/o/mx_tmp/film", 1, 0, 0, -1),
              (Strings{"/d/VTS_01_0.ifo", "/o/mx_tmp/film", "1", "0", "0 cc", "CLOSE"}));
    EXPECT_EQ(VobSubParamLines("i", "b", 3, 2, 0, 2)[4], "0 2 cc");

    Strings index(198, "# comment");
    index.push_back("forced subs: OFF");                // line 199
    index.push_back("xx langidx: 0 forced subs: OFF");  // line 200
    index.push_back("langidx: 0");                      // line 201
    Strings edited = index;
    EditSubtitleIndex(edited, 4, true);
    EXPECT_EQ(edited[198], "forced subs: ON");
    EXPECT_EQ(edited[199], "langidx: 4");  // the replaced line no longer holds "forced subs:"
    EXPECT_EQ(edited[200], "langidx: 0");
    Strings forced = {"forced subs: OFF"};
    EditSubtitleIndex(forced, 0, false);
    EXPECT_EQ(forced[0], "forced subs: OFF");
}

class Subtitles : public StageTest {
  protected:
    TEncRecord SubJob() const {
        TEncRecord job = Job();
        job.SubTrack = 0;
        job.VobInfo.Subtitles[1].StreamId = 2;
        return job;
    }
    Strings IndexLines() const {
        std::istringstream in(testing_support::ReadAll(Temp("film.idx")));
        Strings lines;
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }
    std::string Configure() const {
        return "rundll32 " + Program().VobSubPath + ",Configure " + Temp("vobsub.params");
    }
};

TEST_F(Subtitles, InternalSubtitlesAreExtractedEditedAndRendered) {
    TEncRecord job = SubJob();
    job.SubTrack2 = 1;
    job.ForcedSubsOnly = true;
    job.VobInfo.Subtitles[0].StreamId = 3;
    auto run = Run(job);
    kExtractSubtitles.Work(*run);
    EXPECT_EQ(
        testing_support::ReadAll(Temp("vobsub.params")),
        dir.File("dvd/VTS_01_0.IFO") + "\r\n" + Temp("film") + "\r\n1\r\n0\r\n3 2 cc\r\nCLOSE\r\n");
    EXPECT_EQ(Calls(), Strings{Configure()});
    EXPECT_EQ(run->Source.VobSubFile, Temp("film.idx"));
    const Strings index = IndexLines();
    ASSERT_EQ(index.size(), 5u);
    EXPECT_EQ(index[2], "langidx: 3\r");
    EXPECT_EQ(index[3], "forced subs: ON\r");
    const Strings log = Logged(*run);
    ASSERT_EQ(log.size(), 9u);  // the echo of the parameter file only
    EXPECT_EQ(log[0], "Writing the following script to " + Temp("vobsub.params"));
    EXPECT_EQ(log[1], std::string(59, '='));
}

TEST_F(Subtitles, OnlyTheFirst200LinesOfTheIndexAreEdited) {
    testing_support::ScopedEnv pad("STAGE_IDX_PAD", "198");  // "langidx:" on line 201
    auto run = Run(SubJob());
    kExtractSubtitles.Work(*run);
    const Strings index = IndexLines();
    ASSERT_EQ(index.size(), 203u);
    EXPECT_EQ(index[200], "langidx: 9\r");
}

TEST_F(Subtitles, AMarkedVobNameFallsBackToThePlainIfoCopiedUnderTheMarkedName) {
    dir.Write("dvd/VTS_02_0.IFO", "ifo bytes");
    TEncRecord job = SubJob();
    job.VobInfo.FirstVob = "VTS_02_PGC_03_1.VOB";
    auto run = Run(job);
    kExtractSubtitles.Work(*run);
    EXPECT_EQ(testing_support::ReadAll(dir.File("dvd/VTS_02_PGC_03_0.ifo")), "ifo bytes");
    const std::string params = testing_support::ReadAll(Temp("vobsub.params"));
    EXPECT_EQ(params.substr(0, params.find("\r\n")), dir.File("dvd/VTS_02_PGC_03_0.ifo"));
    EXPECT_NE(params.find("\r\n3\r\n0\r\n0 cc\r\n"), std::string::npos) << params;
}

TEST_F(Subtitles, WithoutAnIfoSubtitlesAreDroppedAndTheJobGoesOn) {
    std::remove(dir.File("dvd/VTS_01_0.IFO").c_str());
    auto run = Run(SubJob());
    kExtractSubtitles.Work(*run);
    EXPECT_EQ(Logged(*run), Strings{"IFO file is not found. Subtitle processing is disabled."});
    EXPECT_EQ(run->Source.VobSubFile, "");
    EXPECT_TRUE(Calls().empty());
}

TEST_F(Subtitles, NoIndexWrittenEndsTheJobNamingTheFile) {
    testing_support::ScopedEnv nothing("STAGE_LEAVE_NOTHING", "1");
    auto run = Run(SubJob());
    try {
        kExtractSubtitles.Work(*run);
        ADD_FAILURE();
    } catch (const std::exception& e) {
        EXPECT_NE(std::string(e.what()).find(Temp("film.idx")), std::string::npos) << e.what();
    }
}

TEST_F(Subtitles, ExternalSubtitlesAreArchivedBesideTheOutput) {
    TEncRecord job = SubJob();
    job.ExternalSubs = true;
    auto run = Run(job);
    kExtractSubtitles.Work(*run);
    EXPECT_EQ(Calls(),
              (Strings{Configure(), Program().RarPath + " a -m5 -ep \"" + Temp("film.rar") +
                                        "\" \"" + Temp("film.sub") + "\""}));
    EXPECT_EQ(run->Source.VobSubFile, "");
    EXPECT_TRUE(run->Settings.ExternalSubs);
    EXPECT_EQ(testing_support::ReadAll(dir.File("out/film.idx")),
              testing_support::ReadAll(Temp("film.idx")));
    EXPECT_EQ(testing_support::ReadAll(dir.File("out/film.rar")), "Rar!" + std::string(2000, 's'));
    EXPECT_EQ(Logged(*run).back(), "Compressing subtitles.");
}

TEST_F(Subtitles, WithoutTheArchiverExternalSubtitlesTurnInternal) {
    Program().RarPath = "";
    TEncRecord job = SubJob();
    job.ExternalSubs = true;
    auto run = Run(job);
    kExtractSubtitles.Work(*run);
    EXPECT_EQ(Logged(*run).back(), "WinRAR is not found. Switching to internal subtitles.");
    EXPECT_FALSE(run->Settings.ExternalSubs);
    EXPECT_EQ(run->Source.VobSubFile, Temp("film.idx"));
    EXPECT_FALSE(platform::FileExists(dir.File("out/film.idx")));
}

TEST_F(Subtitles, APreviewStopsAfterTheIndexEvenForExternalSubtitles) {
    TEncRecord job = SubJob();
    job.ExternalSubs = true;
    auto run = Run(job, true);
    kExtractSubtitles.Work(*run);
    EXPECT_EQ(run->Source.VobSubFile, PreviewTemp("film.idx"));
    EXPECT_EQ(Calls(), Strings{"rundll32 " + Program().VobSubPath + ",Configure " +
                               PreviewTemp("vobsub.params")});
}

}  // namespace
