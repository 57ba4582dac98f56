#include "dvd/IFOParser.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "dvd/DvdError.h"
#include "dvd/IfoImage.h"
#include "dvd/IfoTables.h"
#include "support/TestEnv.h"

namespace {

using ifo_image::Chain;
using ifo_image::Image;
using ifo_image::Time;

TIFO Decode(const Image& image) {
    return DecodeIfo(image.Bytes(), "VTS_01_0.IFO");
}

std::string ErrorOf(const std::string& bytes) {
    try {
        DecodeIfo(bytes, "VTS_07_0.IFO");
    } catch (const DvdParseError& e) {
        return e.what();
    }
    return "";
}

Image OneChain(Chain chain) {
    Image image;
    image.Chains = {std::move(chain)};
    return image;
}

TEST(IfoVideo, AttributeBitsSelectTheTexts) {
    struct Case {
        uint16_t word;
        const char *coding, *standard, *aspect, *resolution;
    } cases[] = {
        {0x5E00, "MPEG2", "PAL", "16:9", "720x576"},
        {0x4000 | 0x0 << 12 | 0x0 << 10 | 3 << 2, "MPEG2", "NTSC", "4:3", "352x240"},
        {0x0000 | 0x1 << 12 | 0x0 << 10 | 2 << 2, "MPEG1", "PAL", "4:3", "352x576"},
        {0x4000 | 0x0 << 12 | 0x1 << 10 | 1 << 2, "MPEG2", "NTSC", "???", "704x480"},
        {0x8000 | 0x2 << 12 | 0x2 << 10 | 0 << 2, "???", "???", "???", ""},
        {0xC000 | 0x3 << 12 | 0x3 << 10 | 3 << 2, "???", "???", "16:9", ""},
    };
    for (const Case& c : cases) {
        Image image;
        image.VideoWord = c.word;
        const TVideoStream v = Decode(image).Attributes.VideoAttributes;
        EXPECT_EQ(v.Coding, c.coding) << std::hex << c.word;
        EXPECT_EQ(v.Standard, c.standard) << std::hex << c.word;
        EXPECT_EQ(v.AspectRatio, c.aspect) << std::hex << c.word;
        EXPECT_EQ(v.Resolution, c.resolution) << std::hex << c.word;
    }
}

TEST(IfoAudio, AttributeWordCodeAndExtension) {
    Image image;
    const char* formats[] = {"AC3", "???", "MPEG1", "MPEG2", "LPCM", "???", "DTS", "???"};
    for (uint16_t coding = 0; coding < 8; ++coding) {
        // Channels minus one in bits 2-0, language type in bits 11-10.
        const uint16_t word = static_cast<uint16_t>(coding << 13 | (coding & 3) << 10 | coding);
        image.AudioStreams.push_back({word, "en", static_cast<uint8_t>(coding)});
    }
    const TVTS_VOBS vobs = Decode(image).Attributes;
    ASSERT_EQ(vobs.AudioStreamCount, 8);
    ASSERT_EQ(vobs.AudioStreams.size(), 8u);
    const char* extensions[] = {"unspecified",
                                "normal",
                                "for visually impaired",
                                "director's comments",
                                "alternate director's comments",
                                "???",
                                "???",
                                "???"};
    for (int i = 0; i < 8; ++i) {
        const TAudioStream& a = vobs.AudioStreams[i];
        EXPECT_EQ(a.Format, formats[i]);
        EXPECT_EQ(a.Channels, i + 1);
        EXPECT_EQ(a.LanguageType, i & 3);
        EXPECT_EQ(a.LanguageCode, "en");
        EXPECT_EQ(a.Language, "English");
        EXPECT_EQ(a.CodeExtension, extensions[i]);
    }
}

TEST(IfoLanguages, LookupIsExactAndFallsBackToTheLastRow) {
    EXPECT_EQ(LanguageTable().size(), 144u);
    EXPECT_STREQ(LanguageTable()[0].Code, "  ");
    EXPECT_STREQ(LanguageTable()[143].Name, "???");
    EXPECT_EQ(LanguageName("  "), "Not Specified");
    EXPECT_EQ(LanguageName(std::string(2, '\0')), "???");
    EXPECT_EQ(LanguageName("EN"), "???");  // codes are compared case-sensitively
    EXPECT_EQ(LanguageName(""), "???");    // the last row's empty code is never a match
    EXPECT_EQ(LanguageName("fr"),
              "Fran\xC3\xA7"
              "ais");
    EXPECT_EQ(LanguageName("iw"), "Hebrew");
    EXPECT_EQ(LanguageName("ji"), "Yiddish");
    EXPECT_EQ(LanguageName("zu"), "Zulu");
    // The table is searched in order and the two-letter rows are in alphabetical order.
    for (size_t row = 2; row < 143; ++row) {
        EXPECT_LT(std::string(LanguageTable()[row - 1].Code), LanguageTable()[row].Code);
    }
}

TEST(IfoSubpictures, LanguagesAndTheLowByteOfTheCount) {
    Image image;
    image.SubpictureCodes = {"de", "  ", std::string(2, '\0')};
    TVTS_VOBS vobs = Decode(image).Attributes;
    EXPECT_EQ(vobs.SubpictureCount, 3);
    EXPECT_EQ(vobs.SubpictureLanguages,
              (std::vector<std::string>{"Deutsch", "Not Specified", "???"}));

    std::string bytes = Image{}.Bytes();
    Image::Put16(bytes, 0x254, 0x0102);  // only the low byte counts
    vobs = DecodeIfo(bytes, "x").Attributes;
    EXPECT_EQ(vobs.SubpictureCount, 2);
    EXPECT_EQ(vobs.SubpictureLanguages.size(), 2u);
}

TEST(IfoTimes, FrameRateBitsAndRounding) {
    struct Case {
        uint32_t time;
        const char* text;
    } cases[] = {
        {Time(0, 0, 1, 15, 3), "0:00:01.500"},  // 30 frames per second
        {Time(0, 0, 1, 15, 1), "0:00:01.600"},  // 25
        {Time(0, 0, 1, 15, 0), "0:00:01.600"},  // other values: 25
        {Time(0, 0, 1, 15, 2), "0:00:01.600"},   {Time(0, 0, 0, 1, 3), "0:00:00.033"},
        {Time(0, 0, 0, 2, 3), "0:00:00.067"},    {Time(0, 0, 0, 29, 3), "0:00:00.967"},
        {Time(1, 32, 10, 12, 1), "1:32:10.480"}, {Time(23, 59, 59, 24, 1), "23:59:59.960"},
    };
    for (const Case& c : cases) {
        Chain chain;
        chain.Duration = c.time;
        chain.CellTimes = {c.time};
        const TProgramChain pgc = Decode(OneChain(chain)).ChainTable.ProgramChains.at(0);
        EXPECT_EQ(pgc.Duration, c.text);
        EXPECT_EQ(pgc.ProgramDurations.at(0), c.text);
    }
}

TEST(IfoTimes, MalformedTimesAreErrors) {
    struct Case {
        uint32_t duration;
        uint32_t cell;
        const char* message;
    } cases[] = {
        {0x0000A040, Time(0, 0, 1, 0), "not a BCD time"},  // seconds' tens digit
        {0x00000A40, Time(0, 0, 1, 0), "not a BCD time"},  // seconds' units digit
        {0x0000004A, Time(0, 0, 1, 0), "not a BCD time"},  // frames' units digit
        {0x1A000000, Time(0, 0, 1, 0), "not a BCD time"},  // hours
        {Time(0, 0, 1, 0), 0x00F00040, "not a BCD time"},  // minutes of a cell
        {Time(24, 0, 0, 0), Time(0, 0, 1, 0), "24 hours"},
        {Time(99, 0, 0, 0), Time(0, 0, 1, 0), "24 hours"},
        {Time(0, 60, 0, 0), Time(0, 0, 1, 0), "24 hours"},
        {Time(0, 0, 1, 25, 1), Time(0, 0, 1, 0), "24 hours"},  // 1000 ms at 25 fps
    };
    for (const Case& c : cases) {
        Chain chain;
        chain.Duration = c.duration;
        chain.CellTimes = {c.cell};
        const std::string message = ErrorOf(OneChain(chain).Bytes());
        EXPECT_NE(message.find("VTS_07_0.IFO: program chain 1 of 1: "), std::string::npos)
            << message;
        EXPECT_NE(message.find(c.message), std::string::npos) << message;
    }
}

TEST(IfoTimes, ProgramTotalsOfADayOrMoreAreErrors) {
    Chain chain;
    chain.Duration = Time(23, 0, 0, 0);
    chain.CellTimes = {Time(12, 0, 0, 0), Time(12, 0, 0, 0)};
    EXPECT_NE(ErrorOf(OneChain(chain).Bytes()).find("a program's playback time is 24 hours"),
              std::string::npos);
    // Cells are added in milliseconds, so minutes above 59 in a cell still count as minutes.
    chain.CellTimes = {Time(0, 75, 0, 0), Time(0, 0, 30, 0)};
    EXPECT_EQ(Decode(OneChain(chain)).ChainTable.ProgramChains[0].ProgramDurations[0],
              "1:15:30.000");
}

TEST(IfoChains, OneProgramHoldsEveryCell) {
    Chain chain;
    chain.Duration = Time(0, 0, 7, 0);
    chain.CellTimes = {Time(0, 0, 2, 12), Time(0, 0, 3, 0), Time(0, 0, 1, 13)};
    const TProgramChain pgc = Decode(OneChain(chain)).ChainTable.ProgramChains.at(0);
    EXPECT_EQ(pgc.ProgramCount, 1);
    EXPECT_EQ(pgc.CellCount, 3);
    EXPECT_EQ(pgc.EntryCells, std::vector<uint8_t>{1});
    EXPECT_EQ(pgc.ProgramStarts, std::vector<std::string>{"0:00:00.000"});
    EXPECT_EQ(pgc.ProgramDurations, std::vector<std::string>{"0:00:07.000"});
}

TEST(IfoChains, ProgramsTakeTheirCellsInTableOrder) {
    Chain chain;
    chain.Duration = Time(0, 1, 0, 0);
    chain.EntryCells = {1, 2, 4};
    chain.CellTimes = {Time(0, 0, 10, 0), Time(0, 0, 20, 0), Time(0, 0, 5, 0), Time(0, 0, 25, 0)};
    TProgramChain pgc = Decode(OneChain(chain)).ChainTable.ProgramChains.at(0);
    EXPECT_EQ(pgc.ProgramDurations,
              (std::vector<std::string>{"0:00:10.000", "0:00:25.000", "0:00:25.000"}));
    EXPECT_EQ(pgc.ProgramStarts,
              (std::vector<std::string>{"0:00:00.000", "0:00:10.000", "0:00:35.000"}));

    // An entry cell below its predecessor's gives an empty range: 0 and no entry read, so the
    // next program goes on with the next entry of the table.
    chain.EntryCells = {3, 2, 3};
    chain.CellCount = 3;
    pgc = Decode(OneChain(chain)).ChainTable.ProgramChains.at(0);
    EXPECT_EQ(pgc.ProgramDurations,
              (std::vector<std::string>{"0:00:00.000", "0:00:10.000", "0:00:20.000"}));
    EXPECT_EQ(pgc.ProgramStarts,
              (std::vector<std::string>{"0:00:00.000", "0:00:00.000", "0:00:10.000"}));
}

TEST(IfoChains, StreamFlagsComeFromTheTopBits) {
    Image image;
    image.AudioStreams = {{0, "en", 0}, {0, "de", 0}, {0, "fr", 0}};
    image.SubpictureCodes = {"en", "de"};
    Chain chain;
    chain.AudioControl = {0x8000, 0x7FFF, 0x8100};
    chain.SubpictureControl = {0x7FFFFFFF, 0x80000000};
    image.Chains = {chain, Chain{}};
    const TIFO ifo = Decode(image);
    ASSERT_EQ(ifo.ChainTable.ProgramChainCount, 2);
    EXPECT_EQ(ifo.ChainTable.ProgramChains[0].AudioEnabled, "101");
    EXPECT_EQ(ifo.ChainTable.ProgramChains[0].SubpictureEnabled, "01");
    EXPECT_EQ(ifo.ChainTable.ProgramChains[1].AudioEnabled, "000");
    EXPECT_EQ(ifo.ChainTable.ProgramChains[1].SubpictureEnabled, "00");
}

TEST(IfoChains, NoChainsAndNoPrograms) {
    EXPECT_TRUE(Decode(Image{}).ChainTable.ProgramChains.empty());
    Chain chain;
    chain.EntryCells = {};
    chain.CellTimes = {};
    const TProgramChain pgc = Decode(OneChain(chain)).ChainTable.ProgramChains.at(0);
    EXPECT_EQ(pgc.Duration, "0:00:02.000");
    EXPECT_TRUE(pgc.ProgramDurations.empty());
    EXPECT_TRUE(pgc.ProgramStarts.empty());
}

// Every value is read with a bounds check: a file cut anywhere before its last value read gives
// an error naming the file, never a read past the end.
TEST(IfoDamage, TruncatedAtEveryByte) {
    Image image;
    image.AudioStreams = {{0x0005, "en", 1}, {0x8001, "de", 3}};
    image.SubpictureCodes = {"en", "fr", "de"};
    Chain first;
    first.AudioControl = {0x8000, 0x8100};
    first.SubpictureControl = {0x80000000, 0, 0x80020000};
    first.EntryCells = {1, 2};
    first.CellTimes = {Time(0, 0, 1, 0), Time(0, 0, 1, 12)};
    image.Chains = {first, first};
    const std::string whole = image.Bytes();
    const TIFO expected = DecodeIfo(whole, "x");
    // The last value read is the last cell's time, 16 bytes before the end of its entry.
    const size_t needed = whole.size() - 16;
    for (size_t length = 0; length < whole.size(); ++length) {
        const std::string message = ErrorOf(whole.substr(0, length));
        if (length < needed) {
            ASSERT_NE(message.find("VTS_07_0.IFO: "), std::string::npos) << length;
            ASSERT_NE(message.find("the file ends before"), std::string::npos) << message;
        } else {
            ASSERT_EQ(message, "") << length;
        }
    }
    EXPECT_EQ(expected.ChainTable.ProgramChains[1].ProgramStarts[1], "0:00:01.000");
}

TEST(IfoDamage, OffsetsOutsideTheFile) {
    std::string bytes = OneChain(Chain{}).Bytes();
    std::string far = bytes;
    Image::Put32(far, 0xCC, 0xFFFFFFFF);  // table offset beyond 32 bits
    EXPECT_NE(ErrorOf(far).find("the number of program chains"), std::string::npos);
    far = bytes;
    Image::Put32(far, 0x800 + 12, 0xFFFFFFF0);
    EXPECT_NE(
        ErrorOf(far).find("program chain 1 of 1: the file ends before the number of programs"),
        std::string::npos);
    far = bytes;
    Image::Put16(far, 0x810 + 0xE6, 0xFFFF);
    EXPECT_NE(ErrorOf(far).find("an entry cell of the program map"), std::string::npos);
    far = bytes;
    Image::Put16(far, 0x202, 0xFFFF);  // more audio streams than the file holds
    EXPECT_NE(ErrorOf(far).find("audio stream"), std::string::npos);
}

// Chain pointers may all point to one chain; 65535 of them with 255 programs each would take
// gigabytes, so such a table is refused before it is decoded.
TEST(IfoDamage, AbsurdChainTablesAreRefused) {
    Chain chain;
    chain.EntryCells.assign(255, 1);
    chain.CellCount = 0;
    std::string bytes = OneChain(chain).Bytes();
    const uint32_t offset = 0x10;  // where the one chain was put, relative to the table
    const size_t pointers = 0x800 + 8;
    std::string big = bytes.substr(0, 0x800);
    big.resize(pointers + 8 * 65535 + (bytes.size() - 0x810), '\0');
    Image::Put16(big, 0x800, 65535);
    const uint32_t moved = static_cast<uint32_t>(8 + 8 * 65535);
    big.replace(pointers + 8 * 65535, bytes.size() - 0x810, bytes.substr(0x800 + offset));
    for (size_t k = 0; k < 65535; ++k) Image::Put32(big, pointers + 8 * k + 4, moved);
    EXPECT_NE(ErrorOf(big).find("declares more than a title set can hold"), std::string::npos);
}

TEST(IfoFile, ReadIfoNamesTheFile) {
    testing_support::TempDir dir;
    const std::string path = dir.Write("VTS_01_0.IFO", OneChain(Chain{}).Bytes());
    EXPECT_EQ(ReadIfo(path).ChainTable.ProgramChains.at(0).Duration, "0:00:02.000");
    try {
        ReadIfo(dir.File("VTS_02_0.IFO"));
        FAIL();
    } catch (const DvdParseError& e) {
        EXPECT_EQ(std::string(e.what()),
                  dir.File("VTS_02_0.IFO") + ": the IFO file does not exist");
    }
    EXPECT_THROW(ReadIfo(dir.Path()), DvdParseError);  // a folder is not a file
    // A pipe with the right name would block the reader for ever; it is refused unopened.
    ASSERT_EQ(mkfifo(dir.File("VTS_04_0.IFO").c_str(), 0600), 0);
    EXPECT_THROW(ReadIfo(dir.File("VTS_04_0.IFO")), DvdParseError);
    // A huge file with the right name is refused before it is read (the file here is sparse).
    const std::string huge = dir.Write("VTS_05_0.IFO", "");
    std::filesystem::resize_file(huge, kMaxIfoFileSize + 1);
    try {
        ReadIfo(huge);
        FAIL();
    } catch (const DvdParseError& e) {
        EXPECT_NE(std::string(e.what()).find("more than such a file can be"), std::string::npos);
    }
    const std::string cut = dir.Write("VTS_03_0.IFO", OneChain(Chain{}).Bytes().substr(0, 0x300));
    try {
        ReadIfo(cut);
        FAIL();
    } catch (const DvdParseError& e) {
        EXPECT_EQ(std::string(e.what()).rfind(cut + ": the file ends before", 0), 0u) << e.what();
    }
}

}  // namespace
