#include "dvd/StreamInfoText.h"

#include <gtest/gtest.h>

#include "dvd/DvdError.h"

namespace {

// Lines shaped the way the reading rules take them apart: "/" separates fields, "-" the parts of
// the first field.
const char* kVideoPal = "0xE0 - Video - MPEG-2 / 720x576 PAL / 16:9 / Letterboxed";
const char* kAudioAc3 = "0x80 - Audio - AC3 / 6ch / 48KHz / DRC / English / Delay: 0ms";

TVobInfo Read(const std::string& text) {
    TVobInfo info;
    ReadStreamInfoText(text, "VTS_01 - Stream Information.txt", info);
    return info;
}

std::string ErrorOf(const std::string& text) {
    try {
        Read(text);
    } catch (const DvdParseError& e) {
        return e.what();
    }
    return "";
}

std::string AudioLine(int id, const std::string& language = "English") {
    char text[128];
    std::snprintf(text, sizeof text, "0x8%X - Audio - AC3 / 2ch / 48KHz / DRC / %s / Delay: %dms",
                  id % 16, language.c_str(), -id);
    return text;
}

std::string SubtitleLine(int id) {
    char text[96];
    std::snprintf(text, sizeof text, "0x%02X - Subtitle - Lang%d / Normal", 0x20 + id % 32, id);
    return text;
}

TEST(StreamInfoText, ATypicalFile) {
    const TVobInfo info =
        Read("Stream Information\r\n\r\nVTS_01_PGC_01\r\n" + std::string(kVideoPal) + "\r\n" +
             kAudioAc3 + "\r\n" +
             "0x81 - Audio - MPEG1 / 2ch / 48KHz / DRC / Deutsch / Delay: -40ms\r\n" +
             "0x20 - Subtitle - English / Normal\r\n");
    EXPECT_TRUE(info.Valid);
    EXPECT_EQ(info.Video, (TVideoInfo{0, false, "PAL", 25.0, 720, 576, true, 1.33333}));
    ASSERT_EQ(info.AudioCount, 2);
    EXPECT_EQ(info.Audio[0], (TAudioinfo{0, "English", "6ch", "AC3", 0}));
    EXPECT_EQ(info.Audio[1], (TAudioinfo{1, "Deutsch", "2ch", "MPEG1", -40}));
    ASSERT_EQ(info.SubtitleCount, 1);
    EXPECT_EQ(info.Subtitles[0], (TSubtitleInfo{0, "English Normal"}));
    EXPECT_EQ(info.FirstVob, "");
    EXPECT_EQ(info.Duration, "");
}

TEST(StreamInfoText, LineBreaksOfEveryKind) {
    for (const char* brk : {"\r\n", "\n", "\r"}) {
        const TVobInfo info = Read(std::string(kVideoPal) + brk + kAudioAc3 + brk + AudioLine(1));
        EXPECT_EQ(info.AudioCount, 2) << brk;
        EXPECT_EQ(info.Video.Width, 720) << brk;
    }
    // A mark left by an editor does not hide the first line.
    EXPECT_EQ(Read("\xEF\xBB\xBF" + std::string(kAudioAc3)).AudioCount, 1);
}

TEST(StreamInfoText, NoVideoLineLeavesTheVideoEmpty) {
    const TVobInfo info = Read(kAudioAc3);
    EXPECT_TRUE(info.Valid);
    EXPECT_EQ(info.Video, TVideoInfo{});
    EXPECT_TRUE(Read("").Valid);
}

TEST(StreamInfoText, VideoStandardAndAspect) {
    struct Case {
        const char* line;
        TVideoInfo video;
    } cases[] = {
        {"0xE0 - Video / 720x480 NTSC / 4:3", {0, true, "NTSC", 29.997, 720, 480, false, 1.0}},
        {"0xE1 - Video / 352x288 (PAL) / 16:9", {1, false, "PAL", 25.0, 352, 288, true, 1.33333}},
        // Both standards named: NTSC wins; both aspects named: 16:9 wins.
        {"0xEA - Video / 720x480 PAL NTSC / 4:3 16:9",
         {10, true, "NTSC", 29.997, 720, 480, true, 1.33333}},
        // Neither: the standard stays empty, the size is still read.
        {"0xE0 - Video / 704x576 SECAM / 2.21:1", {0, false, "", 0, 704, 576, false, 0}},
    };
    for (const Case& c : cases) EXPECT_EQ(Read(c.line).Video, c.video) << c.line;
}

TEST(StreamInfoText, OnlyTheFirstVideoLineCounts) {
    // The second line names both "Video" and "Audio" and is dropped whole.
    const TVobInfo info = Read(std::string(kVideoPal) +
                               "\n0xE1 - Video - Audio / 720x480 NTSC / 4:3 / x / y / z:1ms");
    EXPECT_EQ(info.Video.Standard, "PAL");
    EXPECT_EQ(info.AudioCount, 0);
    // A line naming "Video" and "Audio" goes on to the audio step when it is the first.
    const TVobInfo both = Read("0xE2 - Video - Audio / 720x576 PAL / 4:3 / x / French / T: 12ms");
    EXPECT_EQ(both.Video.StreamId, 2);
    ASSERT_EQ(both.AudioCount, 1);
    EXPECT_EQ(both.Audio[0], (TAudioinfo{2, "French", "720x576 PAL", "Audio", 12}));
}

TEST(StreamInfoText, AudioFields) {
    const TVobInfo info = Read(
        "  0x8F - Audio - DTS / 6ch / 48KHz / DRC / LBA 2210 / Delay: +120ms  \n"
        "0x82 - Audio - LPCM / 2ch / 48KHz / x / Espanol / a / b: 7ms : 9 \n"
        "0x83 - Audio - MPEG1 / 1ch / 48KHz / DRC /  / Delay:  -5ms");
    ASSERT_EQ(info.AudioCount, 3);
    EXPECT_EQ(info.Audio[0], (TAudioinfo{15, "Unknown language", "6ch", "DTS", 120}));
    EXPECT_EQ(info.Audio[1], (TAudioinfo{2, "Espanol", "2ch", "LPCM", 7}));
    EXPECT_EQ(info.Audio[2], (TAudioinfo{3, "", "1ch", "MPEG1", -5}));
}

TEST(StreamInfoText, TheSeventeenthAudioAndThirtyThirdSubtitleAreDropped) {
    std::string text;
    for (int i = 0; i < 17; ++i) text += AudioLine(i) + "\n";
    // The 33rd subtitle line also names "Video" and "Audio", yet is not looked at for them.
    for (int i = 0; i < 32; ++i) text += SubtitleLine(i) + "\n";
    text += "0x20 - Subtitle - Video Audio / 720x576 PAL / x / x / x / broken";
    const TVobInfo info = Read(text);
    EXPECT_EQ(info.AudioCount, 16);
    EXPECT_EQ(info.Audio[15].TailValue, -15);
    EXPECT_EQ(info.SubtitleCount, 32);
    EXPECT_EQ(info.Subtitles[31], (TSubtitleInfo{31, "Lang31 Normal"}));
    EXPECT_EQ(info.Video, TVideoInfo{});
}

TEST(StreamInfoText, AnAudioLineBeyondSixteenIsNotRead) {
    std::string text;
    for (int i = 0; i < 16; ++i) text += AudioLine(i) + "\n";
    EXPECT_EQ(Read(text + "0x8 - Audio").AudioCount, 16);  // would fail if it were read
}

TEST(StreamInfoText, SubtitleNames) {
    struct Case {
        const char* line;
        TSubtitleInfo subtitle;
    } cases[] = {
        {"0x20 - Subtitle - English / LBA: 1234 / SubPicture", {0, "English"}},
        {"0x3F - Subtitle - Deutsch / Wide - SubPicture Id: 0x3F", {31, "Deutsch Wide : 0x"}},
        {"0x3F - Subtitle - Deutsch / Wide - SubPicture 1: 16:9 Normal",
         {31, "Deutsch Wide : 16:9 Norma"}},
        // "SubPicture" without "-" before it or ":" after it: the rules' positions as they fall.
        {"0x21 - Subtitle - Suomi / SubPicture Id 12345", {1, "Suomi  : 12345"}},
        {"0x22 - Subtitle - Dansk /  Closed caption ", {2, "Dansk Closed caption"}},
        {"0x2a - Subtitle - Norsk - Closed Caption Letterboxed )", {10, "Norsk Letterboxed"}},
        {"0x23 - Subtitle - Svenska - x", {3, "Svenska "}},
        // Stream ids are taken as they are written, outside 0..31 too.
        {"0x1F - Subtitle - X - 0123456789abcdefghij", {-1, "X efgh"}},
    };
    for (const Case& c : cases) {
        const TVobInfo info = Read(c.line);
        ASSERT_EQ(info.SubtitleCount, 1) << c.line;
        EXPECT_EQ(info.Subtitles[0], c.subtitle) << c.line;
    }
}

TEST(StreamInfoText, SubtitleLinesOfOtherShapesAddNothing) {
    for (const char* line : {"0x20 - Subtitle / English", "0x20 - Subtitle",
                             "0x20 - Subtitle - a - b - c / English", "Subtitles: none"}) {
        const TVobInfo info = Read(line);
        EXPECT_TRUE(info.Valid) << line;
        EXPECT_EQ(info.SubtitleCount, 0) << line;
    }
}

TEST(StreamInfoText, MissingFieldsAndBadNumbersAreErrors) {
    struct Case {
        const char* text;
        const char* message;
    } cases[] = {
        {"0x80 - Audio - AC3 / 6ch / 48KHz / DRC / English / Delay 0ms",
         "line 1: the last field of the audio line has no \":\""},
        {"x\n0x80 - Audio - AC3 / 6ch / 48KHz / DRC", "line 2: the audio line has no field 5"},
        {"0x80 - Audio / 6ch / 48KHz / DRC / English / D: 0ms", "the audio line has no part 3"},
        {"0x80 - Audio - AC3 / 6ch / 48KHz / DRC / English / D: 0", "\"\" is not a number"},
        {"0x80 - Audio - AC3 / 6ch / 48KHz / DRC / English / D: 1.5ms",
         "the value of the last field \"1.5\" is not a number"},
        {"0x8G - Audio - AC3 / 6ch / 48KHz / DRC / English / D: 0ms",
         "the stream id \"G\" of the audio line"},
        {"0x - Subtitle - English / Normal", "the stream id \"\" of the subtitle line"},
        {"0x20 - Subtitle - English", "the subtitle line has no field 2"},
        {"0xE0 - Video / 720x576 PAL", "the video line has no field 3"},
        {"0xE - Video / 720x576 PAL / 4:3", "the stream id \"\" of the video line"},
        {"0xE0 - Video / PAL 720x576 / 4:3", "the picture width \"PAL\" is not a number"},
        {"0xE0 - Video / 720*5x7 / 4:3", "the picture height \"5x7\" is not a number"},
    };
    for (const Case& c : cases) {
        const std::string message = ErrorOf(c.text);
        EXPECT_EQ(message.rfind("VTS_01 - Stream Information.txt, line ", 0), 0u) << message;
        EXPECT_NE(message.find(c.message), std::string::npos) << c.text << ": " << message;
    }
}

}  // namespace
