#include <gtest/gtest.h>

#include "scripts/avs.h"

namespace {

std::string NoState(const std::string&) {
    return R"(0,"")";
}

TScriptEnvironment Env(CodePage ansi) {
    TScriptEnvironment env;
    env.ProgramDir = "/opt/movrex";
    env.Ansi = ansi;
    env.CodecState = &NoState;
    return env;
}

// Open (line 0), SetSource (line 10), the track comment (line 17) and SaveAVI (last).
struct FinalLines {
    std::string open, source, comment, save;
};

FinalLines Final(const std::string& folder, const std::string& audioName, CodePage ansi) {
    TScriptLines lines;
    MakeFinalJob(lines, folder + "/film_movie.avs", folder + "/film.avi",
                 folder + "/film T80 DELAY -40ms.mp3", "", 2, 0, audioName, "", Env(ansi));
    EXPECT_EQ(lines.size(), 19u);
    if (lines.size() != 19u) return {};
    return {lines[0], lines[10], lines[17], lines.back()};
}

TEST(JobEscaping, BackslashesAreDoubledInPathsOnly) {
    const FinalLines l = Final(R"(/films/C:\Movies)", R"(Eng\lish)", CodePage::Utf8);
    EXPECT_EQ(l.open, R"(VirtualDub.Open("/films/C:\\Movies/film_movie.avs",0,0);)");
    EXPECT_EQ(
        l.source,
        R"(VirtualDub.stream[0].SetSource("/films/C:\\Movies/film T80 DELAY -40ms.mp3",0x00000202,1);)");
    EXPECT_EQ(l.save, R"(VirtualDub.SaveAVI("/films/C:\\Movies/film.avi");)");
    // Track names are only converted, as the job runner expects.
    EXPECT_EQ(l.comment, R"(VirtualDub.video.AddComment(0x00000000,"IAS1","Eng\lish");)");
}

TEST(JobEscaping, EAcuteInCodePage1252) {
    const FinalLines l = Final("/films/Am\xE9lie",
                               "Fran\xE7"
                               "ais",
                               CodePage::Windows1252);
    EXPECT_EQ(l.open, R"(VirtualDub.Open("/films/Am\xE9lie/film_movie.avs",0,0);)");
    EXPECT_EQ(l.save, R"(VirtualDub.SaveAVI("/films/Am\xE9lie/film.avi");)");
    EXPECT_EQ(
        l.source,
        R"(VirtualDub.stream[0].SetSource("/films/Am\xC3\xA9lie/film T80 DELAY -40ms.mp3",0x00000202,1);)");
    EXPECT_EQ(l.comment, R"(VirtualDub.video.AddComment(0x00000000,"IAS1","Fran\xC3\xA7ais");)");
}

TEST(JobEscaping, EAcuteInUtf8) {
    const FinalLines l = Final("/films/Am\xC3\xA9lie",
                               "Fran\xC3\xA7"
                               "ais",
                               CodePage::Utf8);
    EXPECT_EQ(l.open, R"(VirtualDub.Open("/films/Am\xC3\xA9lie/film_movie.avs",0,0);)");
    EXPECT_EQ(l.save, R"(VirtualDub.SaveAVI("/films/Am\xC3\xA9lie/film.avi");)");
    EXPECT_EQ(
        l.source,
        R"(VirtualDub.stream[0].SetSource("/films/Am\xC3\xA9lie/film T80 DELAY -40ms.mp3",0x00000202,1);)");
    EXPECT_EQ(l.comment, R"(VirtualDub.video.AddComment(0x00000000,"IAS1","Fran\xC3\xA7ais");)");
}

TEST(JobEscaping, BlanksStayAndTheDelayComesFromTheLastWord) {
    TScriptLines lines;
    MakeFinalJob(lines, "/My Films/a b.avs", "/My Films/a b.avi", "/My Films/x y -40ms.mp3", "", 3,
                 0, "", "", Env(CodePage::Utf8));
    ASSERT_EQ(lines.size(), 19u);
    EXPECT_EQ(lines[0], R"(VirtualDub.Open("/My Films/a b.avs",0,0);)");
    EXPECT_EQ(lines[12], "VirtualDub.stream[0].SetInterleave(1,500,2,0,-40);");
    // A name without a delay in it gives 0.
    MakeFinalJob(lines, "/a.avs", "/a.avi", "/My Films/audio.mp3", "", 3, 0, "", "",
                 Env(CodePage::Utf8));
    EXPECT_EQ(lines[12], "VirtualDub.stream[0].SetInterleave(1,500,2,0,0);");
}

TEST(JobEscaping, QuotesAndControlBytesCannotEndAString) {
    const FinalLines l = Final("/films/say \"hi\"\n", "Eng\"lish\");VirtualDub.x(", CodePage::Utf8);
    EXPECT_EQ(l.open, R"(VirtualDub.Open("/films/say \x22hi\x22\x0A/film_movie.avs",0,0);)");
    EXPECT_EQ(
        l.comment,
        R"(VirtualDub.video.AddComment(0x00000000,"IAS1","Eng\x22lish\x22);VirtualDub.x(");)");
    EXPECT_NE(l.source.find(R"("/films/say \x22hi\x22\x0A/film T80)"), std::string::npos)
        << l.source;

    TScriptLines lines;
    MakeAnalysisJob(lines, "/a\"b.avs", "/c\\\"d.avi");
    EXPECT_EQ(lines.front(), R"(VirtualDub.Open("/a\x22b.avs",0,0);)");
    EXPECT_EQ(lines.back(), R"(VirtualDub.SaveAVI("/c\\\x22d.avi");)");
}

TEST(JobEscaping, SplitJobNamesAreConvertedAndPathsEscaped) {
    TScriptLines lines;
    MakeSplitJob(lines, "/films/Am\xE9lie\\x.avi", "/films/Am\xE9lie\\x.cd1.avi", 0, 10, 1, true,
                 "Fran\xE7"
                 "ais",
                 "", Env(CodePage::Windows1252));
    EXPECT_EQ(lines[0], R"(VirtualDub.Open("/films/Am\xE9lie\\x.avi",0,0);)");
    EXPECT_EQ(lines[5], R"(VirtualDub.video.AddComment(0x00000000,"IAS1","Fran\xC3\xA7ais");)");
    EXPECT_EQ(lines.back(), R"(VirtualDub.SaveAVI("/films/Am\xE9lie\\x.cd1.avi");)");
}

TEST(JobEscaping, AnAudioPathTooLongToConvertWholeIsRefusedNotCut) {
    TScriptLines lines;
    const std::string folder = "/" + std::string(1000, 'a');
    // 1023 bytes of UTF-8 are kept whole.
    const std::string fits = folder + std::string(1023 - folder.size() - 9, 'b') + " -40ms.mp3";
    ASSERT_EQ(fits.size(), 1024u);
    EXPECT_THROW(
        MakeFinalJob(lines, "/a.avs", "/a.avi", fits, "", 2, 0, "", "", Env(CodePage::Utf8)),
        std::invalid_argument);
    const std::string exact = fits.substr(1);
    MakeFinalJob(lines, "/a.avs", "/a.avi", exact, "", 2, 0, "", "", Env(CodePage::Utf8));
    EXPECT_NE(lines[10].find(exact), std::string::npos);
    // In code page 1252 every high byte takes two bytes of UTF-8.
    const std::string wide = "/" + std::string(600, '\xE9') + " -40ms.mp3";
    EXPECT_THROW(
        MakeFinalJob(lines, "/a.avs", "/a.avi", wide, "", 2, 0, "", "", Env(CodePage::Windows1252)),
        std::invalid_argument);
    // A track name is only a label: it is cut, never refused.
    MakeFinalJob(lines, "/a.avs", "/a.avi", exact, "", 2, 0, std::string(2000, 'n'), "",
                 Env(CodePage::Utf8));
    EXPECT_EQ(lines[17].size(),
              std::string("VirtualDub.video.AddComment(0x00000000,\"IAS1\",\"\");").size() + 1023);
}

}  // namespace
