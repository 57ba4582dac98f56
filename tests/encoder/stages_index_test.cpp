#include "encoder/StageFiles.h"
#include "encoder/StageTestSupport.h"
#include "encoder/rules/IndexCommand.h"

namespace {

using Strings = std::vector<std::string>;

TEST(IndexCommand, ArgumentsFollowTheProgramPathWithTheirBlanksAndBrackets) {
    EXPECT_EQ(IndexWithAudioArguments("C:\\DVD\\VTS_01_1.VOB", 3, 1, 1, "D:\\out\\mx_tmp\\film"),
              " -AIF=[C:\\DVD\\VTS_01_1.VOB] -IA=3 -FO=0 -YR=1 -TN=1 -OM=1 -DRC=0 -DSD=0 -DSA=0 "
              "-OF=[D:\\out\\mx_tmp\\film] -Exit");
    EXPECT_EQ(IndexOnlyArguments("/my dvd/VTS_01_1.VOB", 1, "/o/mx_tmp/a film"),
              " -AIF=[/my dvd/VTS_01_1.VOB] -IA=1 -FO=0 -YR=1 -OM=0 -DRC=0 -DSD=0 -DSA=0 "
              "-OF=[/o/mx_tmp/a film] -Exit");
    EXPECT_EQ(IndexerOutputMethod(" LPCM "), 3);
    EXPECT_EQ(IndexerOutputMethod("AC3"), 1);
    EXPECT_EQ(IndexerOutputMethod("LPCM 2"), 1);
}

class Indexing : public StageTest {
  protected:
    std::string Prefix(const std::string& vob) const {
        return Program().DVD2AVIPath + " -AIF=[" + dir.File("dvd/" + vob) + "] -IA=1 -FO=0 -YR=1";
    }
    std::string Tail(const std::string& base) const {
        return " -DRC=0 -DSD=0 -DSA=0 -OF=[" + Temp(base) + "] -Exit";
    }
};

TEST_F(Indexing, OneRunPerTrackWithTheTrackNumberAndOutputMethod) {
    struct Case {
        int32_t track, track2;
        Strings middles;
    } cases[] = {
        {-1, -1, {" -OM=0"}},
        {0, -1, {" -TN=1 -OM=1"}},
        {0, 2, {" -TN=1 -OM=1", " -TN=6 -OM=3"}},  // the second track is LPCM, stream 5
        {-1, 1, {" -OM=0"}},  // a second track without a first is not demultiplexed
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.track2);
        std::remove(dir.File("calls.log").c_str());
        TEncRecord job = Job();
        job.VobInfo.AddAudio({5, "Français", "2ch", "LPCM", 0});
        job.AudioTrack = c.track;
        job.AudioTrack2 = c.track2;
        auto run = Run(job);
        run->IdctChoice = 1;
        kIndexForEncoding.Work(*run);
        EXPECT_EQ(run->Source.D2VFile, Temp("film.d2v"));
        Strings expected;
        for (const std::string& m : c.middles)
            expected.push_back(Prefix("VTS_01_1.VOB") + m + Tail("film"));
        EXPECT_EQ(Calls(), expected);
        EXPECT_TRUE(platform::FileExists(Temp("film.d2v")));
        EXPECT_EQ(platform::FileExists(Temp("film T06 3_2ch 448Kbps DELAY 0ms.wav")),
                  c.track2 == 2);
    }
}

TEST_F(Indexing, AnEmptyFirstVobIsFoundInTheFolderAndKept) {
    dir.Write("dvd/VTS_02_1.VOB", "");
    dir.Write("dvd/vts_00_1.vob", "");
    TEncRecord job = Job();
    job.VobInfo.FirstVob.clear();
    job.AudioTrack = -1;
    auto run = Run(job);
    run->IdctChoice = 1;
    kIndexForPreview.Work(*run);
    EXPECT_EQ(run->Settings.VobInfo.FirstVob, "VTS_01_1.VOB");  // name order, any letter case
    EXPECT_EQ(run->Source.D2VFile, Temp("film_preview.d2v"));
    EXPECT_EQ(Calls(), Strings{Prefix("VTS_01_1.VOB") + " -OM=0" + Tail("film_preview")});
}

TEST_F(Indexing, WithoutAnyVobBothOperationsEndTheJobWithTheirOwnText) {
    std::remove(dir.File("dvd/VTS_01_1.VOB").c_str());
    TEncRecord job = Job();
    job.VobInfo.FirstVob.clear();
    auto run = Run(job);
    try {
        kIndexForEncoding.Work(*run);
        ADD_FAILURE();
    } catch (const std::exception& e) {
        EXPECT_STREQ(e.what(), "Input VOBs are not found. Encoding aborted.");
    }
    try {
        kIndexForPreview.Work(*run);
        ADD_FAILURE();
    } catch (const std::exception& e) {
        EXPECT_STREQ(e.what(), "Input VOBs are not found.");
    }
    EXPECT_TRUE(Calls().empty());
}

TEST_F(Indexing, AMissingIndexerIsNamedInsteadOfPassingUnnoticed) {
    Program().DVD2AVIPath = dir.File("DVD2AVI/DVD2AVIdg.exe");
    auto run = Run(Job());
    try {
        kIndexForEncoding.Work(*run);
        ADD_FAILURE();
    } catch (const std::exception& e) {
        EXPECT_NE(std::string(e.what()).find("DVD2AVIdg.exe"), std::string::npos) << e.what();
    }
}

TEST(StageFiles, ARecordedNameFindsTheFileInAnyLetterCase) {
    testing_support::TempDir d;
    d.Write("VTS_01_1.VOB", "");
    EXPECT_EQ(PathInFolder(d.Path(), "vts_01_1.vob"), d.File("VTS_01_1.VOB"));
    EXPECT_EQ(PathInFolder(d.Path(), "VTS_09_1.VOB"), d.File("VTS_09_1.VOB"));
}

}  // namespace
