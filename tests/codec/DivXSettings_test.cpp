#include "CodecSettingsFixture.h"
#include "codec/reg.h"

namespace {

const char* const kKey = "Software\\DivXNetworks\\DivX4Windows";

class DivXSettings : public CodecHiveTest {};

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
