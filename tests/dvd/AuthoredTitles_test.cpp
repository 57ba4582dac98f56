// Titles authored by independent tools (see tests/media/README.md), read by our parsers and
// compared with what was authored and with lsdvd's reading of the same discs.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>

#include "dvd/DvdError.h"
#include "dvd/IFOParser.h"
#include "dvd/SourceFolder.h"
#include "support/GeneratedMedia.h"
#include "support/TestEnv.h"

namespace {

using testing_support::GeneratedMedia;

const std::string kFrancais =
    "Fran\xC3\xA7"
    "ais";

// One title of lsdvd's human-readable listing.
struct LsdvdTitle {
    int Vts = 0, Ttn = 0, AudioCount = 0, SubpictureCount = 0, Width = 0, Height = 0;
    int64_t LengthMs = 0;
    std::string Format, Aspect;
    struct Audio {
        std::string Code, Format, Content;
        int Channels = 0;
    };
    std::vector<Audio> AudioStreams;
    std::vector<int64_t> ChapterMs;
    std::vector<int> StartCells;
};

int64_t Ms(const std::string& h, const std::string& m, const std::string& s, const std::string& z) {
    return std::stoll(h) * 3600000 + std::stoll(m) * 60000 + std::stoll(s) * 1000 + std::stoll(z);
}

int64_t Ms(const std::string& text) {  // "h:mm:ss.zzz"
    std::smatch m;
    if (!std::regex_match(text, m, std::regex(R"((\d+):(\d\d):(\d\d)\.(\d\d\d))"))) return -1;
    return Ms(m[1], m[2], m[3], m[4]);
}

std::vector<LsdvdTitle> ReadLsdvd(const std::string& path) {
    static const std::regex title(
        R"(^Title: \d+, Length: (\d+):(\d+):(\d+)\.(\d+) .*Audio streams: (\d+), Subpictures: (\d+))");
    static const std::regex vts(
        R"(VTS: (\d+), TTN: (\d+), .*Format: (\w+), Aspect ratio: ([\d/]+), Width: (\d+), Height: (\d+))");
    static const std::regex audio(
        R"(^\s+Audio: \d+, Language: (\S+) - .*Format: (\w+)\s*,.* Channels: (\d+), .*Content: (\w+),)");
    static const std::regex chapter(
        R"(^\s+Chapter: \d+, Length: (\d+):(\d+):(\d+)\.(\d+), Start Cell: (\d+))");
    std::vector<LsdvdTitle> titles;
    std::ifstream in(path);
    std::smatch m;
    for (std::string line; std::getline(in, line);) {
        if (std::regex_search(line, m, title)) {
            titles.emplace_back();
            titles.back().LengthMs = Ms(m[1], m[2], m[3], m[4]);
            titles.back().AudioCount = std::stoi(m[5]);
            titles.back().SubpictureCount = std::stoi(m[6]);
        } else if (titles.empty()) {
            continue;
        } else if (std::regex_search(line, m, vts)) {
            LsdvdTitle& t = titles.back();
            t.Vts = std::stoi(m[1]), t.Ttn = std::stoi(m[2]), t.Format = m[3], t.Aspect = m[4];
            t.Width = std::stoi(m[5]), t.Height = std::stoi(m[6]);
        } else if (std::regex_search(line, m, audio)) {
            titles.back().AudioStreams.push_back({m[1], m[2], m[4], std::stoi(m[3])});
        } else if (std::regex_search(line, m, chapter)) {
            titles.back().ChapterMs.push_back(Ms(m[1], m[2], m[3], m[4]));
            titles.back().StartCells.push_back(std::stoi(m[5]));
        }
    }
    return titles;
}

std::string LsdvdFormat(const std::string& ours) {
    std::string lower;
    for (char c : ours) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

std::string LsdvdContent(const std::string& extension) {
    if (extension == "unspecified") return "Undefined";
    if (extension == "normal") return "Normal";
    if (extension == "for visually impaired") return "Impaired";
    if (extension == "director's comments") return "Comments1";
    if (extension == "alternate director's comments") return "Comments2";
    return "?";
}

class AuthoredTitles : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        media_ = testing_support::MakeMedia("make_dvd_titles.sh", "dvd");
    }
    void SetUp() override {
        if (!media_.SkipReason.empty()) GTEST_SKIP() << media_.SkipReason;
        ASSERT_EQ(media_.Error, "");
    }
    static std::string Title(const std::string& name) { return media_.Folder + "/" + name; }

    static GeneratedMedia media_;
};

GeneratedMedia AuthoredTitles::media_;

TEST_F(AuthoredTitles, PalWideFromItsIfoFile) {
    const SourceFolderResult result = ReadSourceFolder(Title("pal_wide") + "/rip");
    ASSERT_EQ(result.Outcome, SourceFolderOutcome::Ok) << result.Detail;
    TVobInfo expected;
    expected.Valid = true;
    expected.Video = {0, false, "PAL", 25.0, 720, 576, true, 1.333};
    expected.AudioCount = 3;
    expected.Audio[0] = {0, "English", "2ch", "AC3", 0};
    expected.Audio[1] = {1, kFrancais + " director's comments", "2ch", "MPEG1", 0};
    expected.Audio[2] = {2, "Deutsch", "2ch", "LPCM", 0};
    // The German stream is not in the longest chain: its entry stays empty at its index.
    expected.SubtitleCount = 3;
    expected.Subtitles[0] = {0, "English"};
    expected.Subtitles[2] = {2, kFrancais};
    expected.FirstVob = "VTS_01_1.vob";
    expected.Duration = "0:00:02.000";
    EXPECT_EQ(result.VobInfo, expected);
}

TEST_F(AuthoredTitles, TheLongerOfTwoNtscTitleSets) {
    const SourceFolderResult result = ReadSourceFolder(Title("ntsc_sets") + "/rip");
    ASSERT_EQ(result.Outcome, SourceFolderOutcome::Ok) << result.Detail;
    TVobInfo expected;
    expected.Valid = true;
    expected.Video = {0, true, "NTSC", 29.997, 720, 480, false, 1.0};
    expected.AudioCount = 2;
    expected.Audio[0] = {0, "Espanol for visually impaired", "1ch", "MPEG1", 0};
    expected.Audio[1] = {1, "???", "2ch", "AC3", 0};  // authored without a language
    expected.SubtitleCount = 1;
    expected.Subtitles[0] = {0, "Italiano"};
    expected.FirstVob = "VTS_02_1.vob";
    expected.Duration = "0:00:02.000";
    EXPECT_EQ(result.VobInfo, expected);
}

TEST_F(AuthoredTitles, AStreamInformationFileIsReadInstead) {
    testing_support::TempDir dir;
    std::filesystem::copy(Title("pal_wide") + "/rip", dir.Path(),
                          std::filesystem::copy_options::recursive);
    dir.Write("VTS_01 - Stream Information.txt",
              "Stream Information\r\n\r\n"
              "0xE0 - Video - MPEG-2 / 720x576 (PAL) / 16:9 / Letterboxed\r\n"
              "0x80 - Audio - AC3 / 2ch / 48KHz / DRC / English / Delay: 0ms\r\n"
              "0xC1 - Audio - MPEG1 / 2ch / 48KHz / 20bit / Francais / Delay: -24ms\r\n"
              "0xA2 - Audio - LPCM / 2ch / 48KHz / 16bit / Deutsch / Delay: 0ms\r\n"
              "0x20 - Subtitle - English / Wide - SubPicture\r\n"
              "0x22 - Subtitle - Francais / LBA: 2104\r\n");
    const SourceFolderResult result = ReadSourceFolder(dir.Path());
    ASSERT_EQ(result.Outcome, SourceFolderOutcome::Ok) << result.Detail;
    const TVobInfo& info = result.VobInfo;
    EXPECT_EQ(info.Video, (TVideoInfo{0, false, "PAL", 25.0, 720, 576, true, 1.33333}));
    ASSERT_EQ(info.AudioCount, 3);
    EXPECT_EQ(info.Audio[1], (TAudioinfo{1, "Francais", "2ch", "MPEG1", -24}));
    EXPECT_EQ(info.Audio[2].StreamId, 2);
    ASSERT_EQ(info.SubtitleCount, 2);
    EXPECT_EQ(info.Subtitles[0], (TSubtitleInfo{0, "English Wide : "}));
    EXPECT_EQ(info.Subtitles[1], (TSubtitleInfo{2, "Francais"}));
    EXPECT_EQ(info.FirstVob, "");
    EXPECT_EQ(info.Duration, "");
}

TEST_F(AuthoredTitles, IfoReadingAgreesWithLsdvd) {
    for (const char* name : {"pal_wide", "ntsc_sets"}) {
        const std::string listing = Title(name) + "/lsdvd.txt";
        if (!std::filesystem::exists(listing)) GTEST_SKIP() << "lsdvd is not installed";
        const std::vector<LsdvdTitle> titles = ReadLsdvd(listing);
        ASSERT_FALSE(titles.empty()) << listing;
        for (const LsdvdTitle& t : titles) {
            SCOPED_TRACE(std::string(name) + " VTS " + std::to_string(t.Vts) + " title " +
                         std::to_string(t.Ttn));
            char ifoName[32];
            std::snprintf(ifoName, sizeof ifoName, "/rip/VTS_%02d_0.IFO", t.Vts);
            const TIFO ifo = ReadIfo(Title(name) + ifoName);
            const TVTS_VOBS& vobs = ifo.Attributes;
            EXPECT_EQ(vobs.VideoAttributes.Standard, t.Format);
            EXPECT_EQ(vobs.VideoAttributes.AspectRatio, t.Aspect == "16/9" ? "16:9" : "4:3");
            EXPECT_EQ(vobs.VideoAttributes.Resolution,
                      std::to_string(t.Width) + "x" + std::to_string(t.Height));
            ASSERT_EQ(vobs.AudioStreamCount, t.AudioCount);
            for (int a = 0; a < t.AudioCount; ++a) {
                const TAudioStream& ours = vobs.AudioStreams[a];
                const auto& theirs = t.AudioStreams.at(a);
                if (theirs.Code != "xx") {  // lsdvd's text for a code it does not know
                    EXPECT_EQ(ours.LanguageCode, theirs.Code);
                }
                EXPECT_EQ(LsdvdFormat(ours.Format), theirs.Format);
                EXPECT_EQ(ours.Channels, theirs.Channels);
                EXPECT_EQ(LsdvdContent(ours.CodeExtension), theirs.Content);
            }
            // dvdauthor gives title n of a set its chain n.
            const TProgramChain& chain = ifo.ChainTable.ProgramChains.at(t.Ttn - 1);
            EXPECT_EQ(Ms(chain.Duration), t.LengthMs);
            EXPECT_EQ(
                std::count(chain.SubpictureEnabled.begin(), chain.SubpictureEnabled.end(), '1'),
                t.SubpictureCount);
            ASSERT_EQ(chain.ProgramCount, t.ChapterMs.size());
            int64_t start = 0;
            for (size_t p = 0; p < t.ChapterMs.size(); ++p) {
                EXPECT_EQ(Ms(chain.ProgramDurations[p]), t.ChapterMs[p]);
                EXPECT_EQ(Ms(chain.ProgramStarts[p]), start);
                EXPECT_EQ(chain.EntryCells[p], t.StartCells[p]);
                start += t.ChapterMs[p];
            }
        }
    }
}

// A real IFO file cut at any length: an error naming the file, or, once every value read is
// there, the whole file's reading.
TEST_F(AuthoredTitles, TruncatedCopiesOfARealIfoFile) {
    const std::string path = Title("pal_wide") + "/rip/VTS_01_0.IFO";
    const std::string bytes = testing_support::ReadAll(path);
    const TIFO whole = DecodeIfo(bytes, path);
    size_t failed = 0;
    for (size_t length = 0; length < bytes.size(); ++length) {
        try {
            ASSERT_EQ(DecodeIfo(bytes.substr(0, length), "cut.IFO"), whole) << length;
        } catch (const DvdParseError& e) {
            ASSERT_EQ(std::string(e.what()).rfind("cut.IFO: ", 0), 0u) << e.what();
            ASSERT_NE(std::string(e.what()).find("the file ends before"), std::string::npos);
            ++failed;
        }
    }
    EXPECT_GT(failed, 0x800u);  // the chain table is at sector 1 or later
}

}  // namespace
