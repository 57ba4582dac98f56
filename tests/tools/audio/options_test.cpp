#include <gtest/gtest.h>

#include "Options.h"

namespace {

using audio::OptionError;
using audio::ParseOptions;

const std::string kCore =
    R"(BeSweet.exe -core( -input "C:\My Film\film T01 3_2ch DELAY -40ms.ac3" -output "été 1.mp3" )"
    R"(-logfile "été 1.log" ) )";

TEST(Options, ThePlannersCommandLines) {
    const audio::Options vbr = ParseOptions(
        kCore +
        "-ota( -hybridgain ) -azid( -L -3db -c normal ) -lame( -m m -h -alt-preset 96 ) "
        "-profile( Movrex )");
    EXPECT_EQ(vbr.input, R"(C:\My Film\film T01 3_2ch DELAY -40ms.ac3)");
    EXPECT_EQ(vbr.output, "été 1.mp3");
    EXPECT_EQ(vbr.logFile, "été 1.log");
    EXPECT_TRUE(vbr.clipProofGain);
    EXPECT_EQ(vbr.surroundDb, -3.0);
    EXPECT_EQ(vbr.centreDb, -3.0);
    EXPECT_EQ(vbr.stereo, audio::StereoMode::Mono);
    EXPECT_TRUE(vbr.highQuality);
    EXPECT_EQ(vbr.rate, audio::RateMode::Abr);
    EXPECT_EQ(vbr.kbps, 96);
    EXPECT_EQ(vbr.profile, "Movrex");

    const audio::Options cbr =
        ParseOptions(kCore + "-azid( -L -6db -c -1.5db ) -lame( --cbr -b 192 )");
    EXPECT_EQ(cbr.rate, audio::RateMode::Cbr);
    EXPECT_EQ(cbr.kbps, 192);
    EXPECT_EQ(cbr.stereo, audio::StereoMode::Auto);
    EXPECT_FALSE(cbr.clipProofGain);
    EXPECT_EQ(cbr.surroundDb, -6.0);
    EXPECT_EQ(cbr.centreDb, -1.5);
}

TEST(Options, RefusedCommandLinesSayWhatIsWrong) {
    const std::string lame = "-lame( -h -alt-preset 128 )";
    const struct {
        std::string line, says;
    } cases[] = {
        {"x stray " + lame, "\"stray\" is not one of the groups"},
        {"x -ota( -hybridgain ) " + lame, "no -core( ) group"},
        {kCore, "no -lame( ) group"},
        {"x -core( -input ) " + lame, "-input in -core( ) needs a value"},
        {"x -core( -output o.mp3 ) " + lame, "names no -input"},
        {kCore + "-lame( -h -alt-preset 128", "-lame( is not closed"},
        {kCore + "-lame( -q 2 -alt-preset 128 )", "unknown option \"-q\""},
        {kCore + "-lame( -h )", "names no bitrate"},
        {kCore + "-lame( --cbr )", "--cbr in -lame( ) needs -b"},
        {kCore + "-lame( -alt-preset 128 --cbr -b 128 )", "cannot take -alt-preset together"},
        {kCore + "-lame( -alt-preset 400 )", "from 8 to 320, not \"400\""},
        {kCore + "-lame( -b x12 )", "not \"x12\""},
        {kCore + "-azid( -L +3db ) " + lame, "-L takes a level"},
        {kCore + "-lame( -m q -b 128 )", "-m takes m, s or j"},
        {kCore + lame + " " + lame, "-lame( is given twice"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        try {
            ParseOptions(c.line);
            ADD_FAILURE() << "accepted";
        } catch (const OptionError& e) {
            EXPECT_NE(std::string(e.what()).find(c.says), std::string::npos) << e.what();
        }
    }
}

}  // namespace
