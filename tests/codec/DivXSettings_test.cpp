#include "CodecSettingsFixture.h"
#include "codec/reg.h"

namespace {

const char* const kKey = "Software\\DivXNetworks\\DivX4Windows";

class DivXSettings : public CodecHiveTest {};

TDivXCodecParams Pass(int32_t mode) {
    TDivXCodecParams p;
    p.Bidirectional = 1;
    p.TargetBitrate = 1185000;
    p.VbrMode = mode;
    p.LogFile = "/My Films/mx_tmp/film_codec.log";
    p.MvFile = "/My Films/mx_tmp/film_codec.mv";
    p.MaxKeyInterval = 250;
    p.VbrQuality = 20;
    return p;
}

TEST_F(DivXSettings, FixedBlockThenTheRunsValues) {
    WriteDivXSettings(Pass(2));
    const ExpectedDword fixed[] = {
        {"Active Profile", 2},
        {"5.0 Preprocessing Mode", -1},
        {"5.0 Psychovisual Mode", 0},
        {"5.0 Resize Mode", 2},
        {"Crop", 0},
        {"Deinterlace", 0},
        {"Disable feedback", 1},
        {"do_add", 1},
        {"do_mc", 1},
        {"do_mc_b", 1},
        {"do_writeyuv", 0},
        {"do_writeyuvmul", 0},
        {"no_vbr_rc", 0},
        {"Frame Dropping", 0},
        {"Interlace mode", 0},
        {"Psychovisual Enhancement", 0},
        {"Quarter-pel", 0},
        {"Resize", 0},
        {"Scene change threshold", 50},
        {"Use dialogs", 0},
        {"Use GMC", 0},
        {"Write MP4 file", 0},
        {"Quality", 5},
    };
    for (const auto& e : fixed) EXPECT_EQ(Dword(kKey, e.name), e.value) << e.name;
    EXPECT_EQ(Text(kKey, "Complexity Modulation"), "0.000000");

    EXPECT_EQ(Dword(kKey, "Bidirectional Encoding"), 1);
    EXPECT_EQ(Dword(kKey, "Bitrate"), 1185000);
    EXPECT_EQ(Text(kKey, "Log File Name"), "/My Films/mx_tmp/film_codec.log");
    EXPECT_EQ(Text(kKey, "MV File Name"), "/My Films/mx_tmp/film_codec.mv");
    EXPECT_EQ(Dword(kKey, "VBR Mode"), 2);
    EXPECT_EQ(Dword(kKey, "Max Keyframe Interval"), 250);
    EXPECT_EQ(Dword(kKey, "Disable Profile Page"), 0);
    EXPECT_EQ(Dword(kKey, "use_mvfile"), 1);
    EXPECT_EQ(Dword(kKey, "Write log file"), 1);
    EXPECT_FALSE(Value(kKey, "VBR Quality v5"));
}

TEST_F(DivXSettings, OnlyTheQualityRunWritesItsQuality) {
    WriteDivXSettings(Pass(1));
    EXPECT_EQ(Dword(kKey, "VBR Quality v5"), 20);
    EXPECT_EQ(Dword(kKey, "Disable Profile Page"), 1);
    EXPECT_EQ(Dword(kKey, "use_mvfile"), 0);
    EXPECT_EQ(Dword(kKey, "Write log file"), 0);

    // The passes that follow switch the log files back on.
    WriteDivXSettings(Pass(3));
    EXPECT_EQ(Dword(kKey, "VBR Mode"), 3);
    EXPECT_EQ(Dword(kKey, "Disable Profile Page"), 0);
    EXPECT_EQ(Dword(kKey, "use_mvfile"), 1);
    EXPECT_EQ(Dword(kKey, "Write log file"), 1);
}

TEST_F(DivXSettings, WriteCodecSettingsPicksTheWriterByCodec) {
    TXviDCodecParams xvid;
    xvid.StatsFile = "/x_codec.log";
    WriteCodecSettings(1, true, xvid, Pass(2), false);
    EXPECT_EQ(Dword(kKey, "Bitrate"), 1185000);
    EXPECT_FALSE(Value("Software\\GNU\\XviD", "mode"));

    WriteCodecSettings(0, true, xvid, Pass(2), false);
    EXPECT_EQ(Text("Software\\GNU\\XviD", "stats"), "/x_codec.log");
    EXPECT_FALSE(Value("Software\\GNU\\XviD", "stats1"));

    WriteCodecSettings(0, false, xvid, Pass(2), false);
    EXPECT_EQ(Text("Software\\GNU\\XviD", "stats1"), "/x_codec.log");

    EXPECT_THROW(WriteCodecSettings(2, false, xvid, Pass(2), false), std::invalid_argument);
}

}  // namespace
