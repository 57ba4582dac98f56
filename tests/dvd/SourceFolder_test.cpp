#include "dvd/SourceFolder.h"

#include <gtest/gtest.h>

#include "dvd/DvdError.h"
#include "dvd/IfoImage.h"
#include "dvd/StreamInfoParser.h"
#include "support/TestEnv.h"

namespace {

using ifo_image::Chain;
using ifo_image::Image;
using ifo_image::Time;

const char* kStreamInfo =
    "0xE0 - Video / 720x480 NTSC / 4:3\r\n"
    "0x80 - Audio - AC3 / 6ch / 48KHz / DRC / English / Delay: -8ms\r\n";

std::string IfoWithChain(uint32_t duration, uint16_t video = 0x5E00) {
    Image image;
    image.VideoWord = video;
    Chain chain;
    chain.Duration = duration;
    chain.CellTimes = {duration};
    image.Chains = {chain};
    return image.Bytes();
}

TEST(SourceFolder, TheTextFileIsPreferredToTheIfoFiles) {
    testing_support::TempDir dir;
    dir.Write("VTS_01_0.IFO", IfoWithChain(Time(0, 0, 3, 0)));
    dir.Write("VTS_01 - Stream Information.txt", kStreamInfo);
    const SourceFolderResult result = ReadSourceFolder(dir.Path());
    ASSERT_EQ(result.Outcome, SourceFolderOutcome::Ok) << result.Detail;
    EXPECT_EQ(result.Message, "");
    EXPECT_EQ(result.StreamInfoFile, dir.File("VTS_01 - Stream Information.txt"));
    EXPECT_EQ(result.VobInfo.Video.Standard, "NTSC");
    EXPECT_EQ(result.VobInfo.Audio[0].TailValue, -8);
    EXPECT_EQ(result.VobInfo.Duration, "");
}

TEST(SourceFolder, TheIfoRouteWithoutATextFile) {
    testing_support::TempDir dir;
    dir.Write("VTS_01_0.IFO", IfoWithChain(Time(0, 0, 3, 0)));
    dir.Write("VTS_02_0.IFO", IfoWithChain(Time(0, 0, 4, 0), 0x4000));
    dir.Write("VTS_02_0.BUP", "not read");
    dir.Write("VTS_03_1.VOB", "not read");
    const SourceFolderResult result = ReadSourceFolder(dir.Path());
    ASSERT_EQ(result.Outcome, SourceFolderOutcome::Ok) << result.Detail;
    EXPECT_EQ(result.StreamInfoFile, "");
    EXPECT_EQ(result.VobInfo.FirstVob, "VTS_02_1.vob");
    EXPECT_EQ(result.VobInfo.Duration, "0:00:04.000");
    EXPECT_EQ(result.VobInfo.Video.Standard, "NTSC");
}

TEST(SourceFolder, EqualTitleSetsInNameOrder) {
    testing_support::TempDir dir;
    dir.Write("VTS_02_0.IFO", IfoWithChain(Time(0, 0, 4, 0), 0x4000));
    dir.Write("VTS_01_0.IFO", IfoWithChain(Time(0, 0, 4, 0)));
    ParseStreamInfo parser;
    parser.ParseIfoFiles(dir.Path());
    EXPECT_EQ(parser.GetVobInfo().FirstVob, "VTS_01_1.vob");
    EXPECT_EQ(parser.GetVobInfo().Video.Standard, "PAL");
}

TEST(SourceFolder, AFolderWithoutTitleSetsIsNoDvd) {
    testing_support::TempDir dir;
    dir.Write("VTS_01_1.VOB", "");
    dir.Write("notes.txt", "Stream Information");
    const SourceFolderResult result = ReadSourceFolder(dir.Path());
    EXPECT_EQ(result.Outcome, SourceFolderOutcome::NotDvd);
    EXPECT_EQ(result.Message, kNotDvdMessage);
    EXPECT_FALSE(result.VobInfo.Valid);
}

TEST(SourceFolder, BracketsAreRefusedBeforeReading) {
    for (const char* path : {"/no/such [folder]", "/x]", "/[x"}) {
        const SourceFolderResult result = ReadSourceFolder(path);
        EXPECT_EQ(result.Outcome, SourceFolderOutcome::InvalidPath);
        EXPECT_EQ(result.Message, kInvalidInputPathMessage);
    }
}

TEST(SourceFolder, ErrorsGiveTheFixedMessageAndTheDetail) {
    testing_support::TempDir dir;
    struct Case {
        const char* name;
        std::string bytes;
        std::string detail;
    } cases[] = {
        {"VTS_01 - Stream Information.txt", "0x80 - Audio - AC3 / 2ch / x / y / z / no colon",
         "VTS_01 - Stream Information.txt, line 1: the last field of the audio line"},
        {"VTS_01_0.IFO", IfoWithChain(Time(0, 0, 3, 0)).substr(0, 0x900),
         "VTS_01_0.IFO: program chain 1 of 1: the file ends before"},
        {"VTS_01_0.IFO", IfoWithChain(Time(0, 0, 3, 0), 0x6000),
         "VTS_01_0.IFO: the picture size \"\" is not a number"},
    };
    for (const Case& c : cases) {
        testing_support::TempDir folder;
        folder.Write(c.name, c.bytes);
        const SourceFolderResult result = ReadSourceFolder(folder.Path());
        EXPECT_EQ(result.Outcome, SourceFolderOutcome::ParseError);
        EXPECT_EQ(result.Message, kParseErrorMessage);
        EXPECT_EQ(result.Detail.rfind(folder.Path() + "/" + c.detail, 0), 0u) << result.Detail;
    }
    const SourceFolderResult missing = ReadSourceFolder(dir.File("gone"));
    EXPECT_EQ(missing.Outcome, SourceFolderOutcome::ParseError);
    EXPECT_EQ(missing.Detail.rfind(dir.File("gone") + ": the folder cannot be read", 0), 0u);
}

TEST(SourceFolder, NamesMatchInAnyCase) {
    testing_support::TempDir dir;
    dir.Write("vts_05_0.ifo", IfoWithChain(Time(0, 0, 3, 0)));
    const SourceFolderResult result = ReadSourceFolder(dir.Path());
    ASSERT_EQ(result.Outcome, SourceFolderOutcome::Ok) << result.Detail;
    EXPECT_EQ(result.VobInfo.FirstVob, "vts_05_1.vob");
}

TEST(SourceFolder, AFailedTextParseKeepsTheFormerRecord) {
    testing_support::TempDir dir;
    ParseStreamInfo parser;
    parser.ParseTextFile(dir.Write("a.txt", kStreamInfo));
    EXPECT_THROW(parser.ParseTextFile(dir.Write("b.txt", "0xE0 - Video / x")), DvdParseError);
    EXPECT_EQ(parser.FileName(), dir.File("b.txt"));
    EXPECT_EQ(parser.GetVobInfo().Audio[0].Language, "English");
}

// Texts are cut at the file's byte positions, then stored as UTF-8 from the file's code page.
TEST(SourceFolder, TextsAreStoredAsUtf8) {
    testing_support::TempDir dir;
    const std::string path = dir.Write("s.txt",
                                       "0x80 - Audio - AC3 / 2ch / 48KHz / DRC / Fran\xE7"
                                       "ais / Delay: 0ms\n"
                                       "0x20 - Subtitle - Fran\xE7"
                                       "ais / Normal\n");
    ParseStreamInfo latin;
    latin.ParseTextFile(path, CodePage::Windows1252);
    EXPECT_EQ(latin.GetVobInfo().Audio[0].Language,
              "Fran\xC3\xA7"
              "ais");
    EXPECT_EQ(latin.GetVobInfo().Subtitles[0].Name,
              "Fran\xC3\xA7"
              "ais Normal");
    ParseStreamInfo utf8;
    utf8.ParseTextFile(path, CodePage::Utf8);
    EXPECT_EQ(utf8.GetVobInfo().Audio[0].Language,
              "Fran\xEF\xBF\xBD"
              "ais");  // U+FFFD
}

}  // namespace
