#include <gtest/gtest.h>

#include "scripts/avs.h"
#include "support/TestEnv.h"

namespace {

// A stand-in for the installed compressors: the state names the codec it was asked for.
std::string FakeState(const std::string& fourcc) {
    return fourcc == "xvid" ? R"(4,"eHZpZA==")" : R"(4,"ZGl2eA==")";
}

TScriptEnvironment Env() {
    TScriptEnvironment env;
    env.ProgramDir = "/opt/movrex";
    env.CodecState = &FakeState;
    return env;
}

const std::string kIn = "/out/mx_tmp/film_movie.avs";
const std::string kOut = "/out/film.avi";

TScriptLines VideoHead(bool xvid) {
    return {
        R"(VirtualDub.Open("/out/mx_tmp/film_movie.avs",0,0);)",
        "VirtualDub.video.SetMode(1);",
        "VirtualDub.video.SetFrameRate(0,1);",
        "VirtualDub.video.SetIVTC(0,0,-1,0);",
        "VirtualDub.video.SetRange(0,0);",
        xvid ? "VirtualDub.video.SetCompression(0x64697678,0,10000,0);"
             : "VirtualDub.video.SetCompression(0x78766964,0,10000,0);",
        xvid ? R"(VirtualDub.video.SetCompData(4,"eHZpZA==");)"
             : R"(VirtualDub.video.SetCompData(4,"ZGl2eA==");)",
        "VirtualDub.video.filters.Clear();",
        "VirtualDub.subset.Delete();",
    };
}

TScriptLines Concat(std::initializer_list<TScriptLines> parts) {
    TScriptLines all;
    for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

const std::string kSave = R"(VirtualDub.SaveAVI("/out/film.avi");)";

TEST(AnalysisJob, ServesTheScriptUncompressedWithoutAudio) {
    TScriptLines lines{"left over"};
    MakeAnalysisJob(lines, "/out/mx_tmp/_.avs", "/out/mx_tmp/_.avi");
    const TScriptLines expected = {
        R"(VirtualDub.Open("/out/mx_tmp/_.avs",0,0);)",
        "VirtualDub.RemoveInputStreams();",
        "VirtualDub.video.SetDepth(24,24);",
        "VirtualDub.video.SetMode(0);",
        "VirtualDub.video.SetFrameRate(0,1);",
        "VirtualDub.video.SetIVTC(0,0,-1,0);",
        "VirtualDub.video.SetCompression();",
        "VirtualDub.video.filters.Clear();",
        "VirtualDub.subset.Delete();",
        R"(VirtualDub.SaveAVI("/out/mx_tmp/_.avi");)",
    };
    EXPECT_EQ(lines, expected);
}

TEST(VideoJob, SelectsTheCodecAndCarriesItsState) {
    TScriptLines lines;
    MakeVideoJob(lines, kIn, kOut, 0, Env());
    EXPECT_EQ(lines, Concat({VideoHead(true), {kSave}}));
    MakeVideoJob(lines, kIn, kOut, 1, Env());
    EXPECT_EQ(lines, Concat({VideoHead(false), {kSave}}));
    for (const auto& line : lines) EXPECT_EQ(line.find("0x64697678"), std::string::npos);
    EXPECT_THROW(MakeVideoJob(lines, kIn, kOut, 2, Env()), std::invalid_argument);
}

TEST(VideoJob, ACodecWhoseStateCannotBeReadGivesAnEmptyState) {
    // No codec is installed in this system folder.
    testing_support::TempDir system;
    testing_support::ScopedEnv dir("MOVREX_SYSTEM_DIR", system.Path());
    testing_support::ScopedEnv hive("MOVREX_MACHINE_HIVE", system.File("machine.reg"));
    TScriptEnvironment env;
    TScriptLines lines;
    MakeVideoJob(lines, kIn, kOut, 1, env);
    ASSERT_EQ(lines.size(), 10u);
    EXPECT_EQ(lines[6], R"(VirtualDub.video.SetCompData(0,"");)");
}

TEST(FinalJob, WithoutAudioHasExactlyElevenLines) {
    TScriptLines lines;
    MakeFinalJob(lines, kIn, kOut, "", "", 2, 0, "English", "", Env());
    EXPECT_EQ(lines, Concat({VideoHead(true), {"VirtualDub.RemoveInputStreams();", kSave}}));
    EXPECT_EQ(lines.size(), 11u);
}

TScriptLines StreamTail(int index, const std::string& name) {
    const std::string s = "VirtualDub.stream[" + std::to_string(index) + "].";
    return {s + "SetClipMode(1,1);", s + "SetConversion(0,0,0,0,0);", s + "SetVolume();",
            s + "SetCompression();",
            "VirtualDub.video.AddComment(0x00000000,\"IAS" + std::to_string(index + 1) + "\",\"" +
                name + "\");"};
}

const std::string kMp3 = "/out/mx_tmp/film T80 DELAY -40ms.mp3";
const std::string kAc3 = "/out/mx_tmp/film T81 3_2ch 448Kbps DELAY 16ms.ac3";

TEST(FinalJob, EachAudioModeOfTheFirstTrack) {
    struct Case {
        uint8_t mode;
        std::string file;
        TScriptLines source;
    };
    const Case cases[] = {
        {1,
         kAc3,
         {R"(VirtualDub.stream[0].SetSource("/out/mx_tmp/film T81 3_2ch 448Kbps DELAY 16ms.ac3",0x00000203,0);)",
          "VirtualDub.stream[0].SetMode(0);", "VirtualDub.stream[0].SetInterleave(1,96,96,1,16);"}},
        {2,
         kMp3,
         {R"(VirtualDub.stream[0].SetSource("/out/mx_tmp/film T80 DELAY -40ms.mp3",0x00000202,1);)",
          "VirtualDub.stream[0].SetMode(0);",
          "VirtualDub.stream[0].SetInterleave(1,500,1,0,-40);"}},
        {3,
         kMp3,
         {R"(VirtualDub.stream[0].SetSource("/out/mx_tmp/film T80 DELAY -40ms.mp3",0x00000202,0);)",
          "VirtualDub.stream[0].SetMode(0);",
          "VirtualDub.stream[0].SetInterleave(1,500,2,0,-40);"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.mode));
        TScriptLines lines;
        MakeFinalJob(lines, kIn, kOut, c.file, "", c.mode, 1, "English", "Deutsch", Env());
        EXPECT_EQ(lines, Concat({VideoHead(false),
                                 {"VirtualDub.RemoveInputStreams();"},
                                 c.source,
                                 StreamTail(0, "English"),
                                 {kSave}}));
    }
}

TEST(FinalJob, SecondTrackFollowsItsExtensionFirstThenTheMode) {
    const std::string mp3b = "/out/mx_tmp/film T81 DELAY 0ms.mp3";
    const std::string ac3Upper = "/out/mx_tmp/film T81 DELAY -8ms.AC3";
    struct Case {
        uint8_t mode;
        std::string file2;
        TScriptLines source2;
    };
    const Case cases[] = {
        {2,
         ac3Upper,
         {R"(VirtualDub.stream[1].SetSource("/out/mx_tmp/film T81 DELAY -8ms.AC3",0x00000203,0);)",
          "VirtualDub.stream[1].SetMode(0);", "VirtualDub.stream[1].SetInterleave(1,96,96,1,-8);"}},
        {2,
         mp3b,
         {R"(VirtualDub.stream[1].SetSource("/out/mx_tmp/film T81 DELAY 0ms.mp3",0x00000202,1);)",
          "VirtualDub.stream[1].SetMode(0);", "VirtualDub.stream[1].SetInterleave(1,500,1,0,0);"}},
        // An AC3 job whose second track is not AC3 takes the variable-rate MP3 form.
        {1,
         mp3b,
         {R"(VirtualDub.stream[1].SetSource("/out/mx_tmp/film T81 DELAY 0ms.mp3",0x00000202,1);)",
          "VirtualDub.stream[1].SetMode(0);", "VirtualDub.stream[1].SetInterleave(1,500,1,0,0);"}},
        {3,
         mp3b,
         {R"(VirtualDub.stream[1].SetSource("/out/mx_tmp/film T81 DELAY 0ms.mp3",0x00000202,0);)",
          "VirtualDub.stream[1].SetMode(0);", "VirtualDub.stream[1].SetInterleave(1,500,2,0,0);"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.mode));
        TScriptLines lines;
        MakeFinalJob(lines, kIn, kOut, kMp3, c.file2, c.mode, 0, "English", "Deutsch", Env());
        TScriptLines first;
        const std::string vbr = c.mode == 3 ? "0" : "1";
        if (c.mode == 1) {
            first = {
                R"(VirtualDub.stream[0].SetSource("/out/mx_tmp/film T80 DELAY -40ms.mp3",0x00000203,0);)",
                "VirtualDub.stream[0].SetMode(0);",
                "VirtualDub.stream[0].SetInterleave(1,96,96,1,-40);"};
        } else {
            first = {
                "VirtualDub.stream[0].SetSource(\"/out/mx_tmp/film T80 DELAY -40ms.mp3\","
                "0x00000202," +
                    vbr + ");",
                "VirtualDub.stream[0].SetMode(0);",
                std::string("VirtualDub.stream[0].SetInterleave(1,500,") +
                    (c.mode == 3 ? "2" : "1") + ",0,-40);"};
        }
        EXPECT_EQ(lines, Concat({VideoHead(true),
                                 {"VirtualDub.RemoveInputStreams();"},
                                 first,
                                 StreamTail(0, "English"),
                                 c.source2,
                                 StreamTail(1, "Deutsch"),
                                 {kSave}}));
    }
}

TEST(FinalJob, SecondTrackAloneStillGetsStreamOne) {
    TScriptLines lines;
    MakeFinalJob(lines, kIn, kOut, "", kAc3, 2, 0, "", "Deutsch", Env());
    ASSERT_EQ(lines.size(), 9u + 1 + 3 + 5 + 1);
    EXPECT_EQ(lines[10].rfind("VirtualDub.stream[1].SetSource(", 0), 0u) << lines[10];
}

TScriptLines SplitTail(int64_t first, int64_t count, const std::string& part) {
    return {
        "VirtualDub.video.SetDepth(24,24);",
        "VirtualDub.video.SetMode(0);",
        "VirtualDub.video.SetFrameRate(0,1);",
        "VirtualDub.video.SetIVTC(0,0,-1,0);",
        "VirtualDub.video.SetCompression();",
        "VirtualDub.video.filters.Clear();",
        "VirtualDub.subset.Clear();",
        "VirtualDub.subset.AddRange(" + std::to_string(first) + "," + std::to_string(count) + ");",
        "VirtualDub.SaveAVI(\"" + part + "\");",
    };
}

TEST(SplitJob, CopiesBothStreamsOfTheAviInEachMode) {
    struct Case {
        uint8_t mode;
        TScriptLines stream0;
        TScriptLines stream1;
    };
    const Case cases[] = {
        {1,
         {"VirtualDub.stream[0].SetSource(0x73647561,0,0);", "VirtualDub.stream[0].SetMode(0);",
          "VirtualDub.stream[0].SetInterleave(1,96,96,1,0);"},
         {"VirtualDub.stream[1].SetSource(0x73647561,1,1);", "VirtualDub.stream[1].SetMode(0);",
          "VirtualDub.stream[1].SetInterleave(1,96,96,1,0);"}},
        {2,
         {"VirtualDub.stream[0].SetSource(0x73647561,0,1);", "VirtualDub.stream[0].SetMode(0);",
          "VirtualDub.stream[0].SetInterleave(1,500,1,0,0);"},
         {"VirtualDub.stream[1].SetSource(0x73647561,1,1);", "VirtualDub.stream[1].SetMode(0);",
          "VirtualDub.stream[1].SetInterleave(1,500,1,0,0);"}},
        {3,
         {"VirtualDub.stream[0].SetSource(0x73647561,0,0);", "VirtualDub.stream[0].SetMode(0);",
          "VirtualDub.stream[0].SetInterleave(1,500,2,0,0);"},
         {"VirtualDub.stream[1].SetSource(0x73647561,1,0);", "VirtualDub.stream[1].SetMode(0);",
          "VirtualDub.stream[1].SetInterleave(1,500,2,0,0);"}},
    };
    const std::string part = "/out/film.cd2.avi";
    const std::string ias1 = R"(VirtualDub.video.AddComment(0x00000000,"IAS1","English");)";
    const std::string ias2 = R"(VirtualDub.video.AddComment(0x00000000,"IAS2","Deutsch");)";
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.mode));
        TScriptLines lines;
        MakeSplitJob(lines, kOut, part, 81234, 79000, c.mode, true, "English", "Deutsch", Env());
        EXPECT_EQ(lines, Concat({{R"(VirtualDub.Open("/out/film.avi",0,0);)",
                                  "VirtualDub.RemoveInputStreams();"},
                                 c.stream0,
                                 {ias1},
                                 c.stream1,
                                 {ias2},
                                 SplitTail(81234, 79000, part)}));
        MakeSplitJob(lines, kOut, part, 0, 79000, c.mode, false, "English", "Deutsch", Env());
        EXPECT_EQ(lines, Concat({{R"(VirtualDub.Open("/out/film.avi",0,0);)",
                                  "VirtualDub.RemoveInputStreams();"},
                                 c.stream0,
                                 {ias1},
                                 SplitTail(0, 79000, part)}));
    }
}

TEST(SplitJob, WithoutAudioStillNamesTheFirstTrack) {
    TScriptLines lines;
    MakeSplitJob(lines, kOut, "/out/film.cd1.avi", 0, 1000, 0, false, "", "", Env());
    EXPECT_EQ(lines, Concat({{R"(VirtualDub.Open("/out/film.avi",0,0);)",
                              "VirtualDub.RemoveInputStreams();",
                              R"(VirtualDub.video.AddComment(0x00000000,"IAS1","");)"},
                             SplitTail(0, 1000, "/out/film.cd1.avi")}));
}

TEST(AudioTrackName, EmptyForNoTrackAndForAnIndexOutsideTheTitle) {
    TVobInfo info;
    TAudioinfo english;
    english.Language = "English";
    info.AddAudio(english);
    EXPECT_EQ(AudioTrackName(info, 0), "English");
    EXPECT_EQ(AudioTrackName(info, -1), "");
    EXPECT_EQ(AudioTrackName(info, 1), "");
    EXPECT_EQ(AudioTrackName(info, 400), "");
}

}  // namespace
