#include <gtest/gtest.h>

#include "scripts/avs.h"

namespace {

TScriptEnvironment Tools() {
    TScriptEnvironment env;
    env.ProgramDir = "/opt/movrex";
    return env;
}

TEST(AnalysisScript, SamplesEveryTenthStretchAndLogsCombedAndMoving) {
    TScriptLines lines{"left over"};
    MakeAnalysisScript(lines, "/films/My Film/mx_tmp/film.d2v",
                       "/films/My Film/mx_tmp/interlace.log", Tools());
    const TScriptLines expected = {
        R"(LoadPlugin("/opt/movrex/filters/mpeg2dec3dg.dll"))",
        R"(LoadPlugin("/opt/movrex/filters/decomb.dll"))",
        R"(LoadPlugin("/opt/movrex/filters/chr.dll"))",
        R"(file="/films/My Film/mx_tmp/interlace.log")",
        R"(sep="-")",
        R"(function IsMoving() {)",
        R"(  return (diff < 1.0) ? false : true})",
        R"(mpeg2source("/films/My Film/mx_tmp/film.d2v"))",
        R"(c = SelectRangeEvery(180,18))",
        R"(global clip = c)",
        R"x(c = FrameEvaluate(c,"write(file,string(IsCombed(threshold=30))+sep+string(IsMoving()),append=true)"))x",
        R"x(c = FrameEvaluate(c,"global diff = 0.50*YDifferenceFromPrevious(clip) + 0.25*UDifferenceFromPrevious(clip) + 0.25*VDifferenceFromPrevious(clip)"))x",
        R"(crop(c,0,0,4,4))",
    };
    EXPECT_EQ(lines, expected);
}

TEST(HybridTestScript, RunsTheTrimmedPairsThroughDebugDecimation) {
    TScriptLines lines;
    MakeHybridTestScript(lines, "/out/mx_tmp/film.d2v", "Trim(10,11)+Trim(52,53)", Tools());
    const TScriptLines expected = {
        R"(LoadPlugin("/opt/movrex/filters/mpeg2dec3dg.dll"))",
        R"(LoadPlugin("/opt/movrex/filters/decomb.dll"))",
        "",
        "function getOrder(clip c) {",
        "order = GetParity(c) ? 1 : 0",
        "return order }",
        "",
        R"(mpeg2source("/out/mx_tmp/film.d2v"))",
        "SelectRangeEvery(180,18)",
        "Trim(10,11)+Trim(52,53)",
        "Telecide(order=getOrder(),guide=0,back=0,post=0).Decimate(cycle=2,debug=true,"
        "threshold=0.0)",
        "crop(0,0,4,4)",
    };
    EXPECT_EQ(lines, expected);
}

TEST(AnalysisScript, PathsAreWrittenUnchangedButAQuoteOrLineBreakIsRefused) {
    TScriptLines lines;
    MakeAnalysisScript(lines, "/films/Am\xC3\xA9lie\\cut/a.d2v", "/l.log", Tools());
    EXPECT_EQ(lines[7], "mpeg2source(\"/films/Am\xC3\xA9lie\\cut/a.d2v\")");

    for (const std::string bad : {"/films/say \"hi\"/a.d2v", "/films/two\nlines/a.d2v"}) {
        try {
            MakeAnalysisScript(lines, bad, "/l.log", Tools());
            ADD_FAILURE() << "accepted " << bad;
        } catch (const std::invalid_argument& e) {
            EXPECT_NE(std::string(e.what()).find(bad), std::string::npos) << e.what();
        }
        EXPECT_THROW(MakeHybridTestScript(lines, bad, "Trim(1,2)", Tools()), std::invalid_argument);
    }
}

TEST(AnalysisScript, PluginPathsDoNotDoubleTheRootSeparator) {
    TScriptEnvironment env;
    env.ProgramDir = "/";
    TScriptLines lines;
    MakeAnalysisScript(lines, "/a.d2v", "/l.log", env);
    EXPECT_EQ(lines[0], R"(LoadPlugin("/filters/mpeg2dec3dg.dll"))");
}

}  // namespace
