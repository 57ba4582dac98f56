// The script language: values and operators, statements and functions, FrameEvaluate's order,
// and the error texts of broken scripts.
#include <gtest/gtest.h>

#include "ScriptHarness.h"
#include "support/TestEnv.h"

using fstest::Evaluate;
using fstest::RunScript;

TEST(Language, ExpressionsGiveTheirValues) {
    const std::pair<const char*, const char*> cases[] = {
        {"7/2", "3"},
        {"7.0/2", "3.500000"},
        {"-7 % 3", "-1"},
        {"1+2*3-4", "3"},
        {"(1+2)*3", "9"},
        {"round(2.5)", "2"},  // halves to even
        {"round(3.5)", "4"},
        {"round(480 / 0.911392405063291)", "527"},
        {"floor(527 / 16 ) * 16", "512"},
        {"float(720)/float(527)", "1.366224"},
        {"$1F", "31"},
        {"\"a\" + \"b\"", "ab"},
        {"2 > 1 ? \"yes\" : \"no\"", "yes"},
        {"(1.0 < 1.0) ? false : true", "true"},
        {"true && !false || false", "true"},
        {"1 == 1.0", "true"},
        {"\"abc\" <> \"abd\"", "true"},
        {"width(Pattern(width=32).crop(2,0,-4,0))", "26"},
        {"Pattern(frames=10).Trim(3,0).framecount", "7"},
        {"Pattern(frames=10).Trim(3,-2).framecount", "2"},
        {"Pattern(frames=10).Trim(8,20).framecount", "2"},
        {"Pattern(frames=400).SelectRangeEvery(180,18).framecount", "54"},
        {"Pattern(frames=20).SelectRangeEvery(every=5,length=2,offset=1).framecount", "8"},
        {"GetParity(Pattern(), 1)", "false"},
    };
    for (const auto& [expression, value] : cases)
        EXPECT_EQ(Evaluate(expression), value) << expression;
}

TEST(Language, StatementsFunctionsAndTheImplicitLastClip) {
    const auto run = RunScript(
        "function add(int a, int \"b\") {\n"
        "  return Default(b, 10) + a }\n"
        "function setZ() { global z = 5 }\n"
        "function getOrder(clip c) {\n"
        "order = GetParity(c) ? 1 : 0\n"
        "return order }\n"
        "Note(string(add(1)) + \" \" + string(add(1, b=2)))\n"
        "setZ()\n"
        "Note(string(z))\n"
        "x = 1 + \\\n"
        "    2 /* a comment */ # and another\n"
        "Note(string(x))\n"
        "Pattern(width=64, height=48, frames=10)\n"
        "Note(string(getOrder()))\n"
        "Trim(2,0).crop(0,0,-2,-4)\n"
        "Note(string(framecount) + \" \" + string(last.width) + \"x\" + string(height()))\n"
        "a = Pattern(frames=10)\n"
        "a.Trim(0,4) + a.Trim(7,0) ++ a.Trim(1,1)\n");
    ASSERT_EQ(run.error, "");
    EXPECT_EQ(*run.notes, (std::vector<std::string>{"11 3", "5", "3", "1", "8 62x44"}));
    ASSERT_EQ(run.clip->Info().frameCount, 9);
    for (const auto& [served, source] : {std::pair{4, 4}, {5, 7}, {7, 9}, {8, 1}})
        EXPECT_EQ(fstest::LumaAt(run.clip, served, 0, 0), 5 * source) << served;
}

// The FrameEvaluate written last runs first for each frame, so a global it sets is seen by the
// one written before it for the same frame; plain assignments last for one run.
TEST(Language, FrameEvaluateRunsOuterFirstWithTheCurrentFrame) {
    const auto run = RunScript(
        "c = Pattern(frames=20)\n"
        "global clip = c\n"
        "c = FrameEvaluate(c, \"\"\"Note(string(current_frame) + \":\" + string(d))\"\"\")\n"
        "c = FrameEvaluate(c, \"global d = 0.50*YDifferenceFromPrevious(clip) + "
        "0.25*UDifferenceFromPrevious(clip) + 0.25*VDifferenceFromPrevious(clip)\")\n"
        "FrameEvaluate(c, \"tmp = 1\")\n");
    ASSERT_EQ(run.error, "");
    for (int n = 0; n < 3; ++n) run.clip->GetFrame(n);
    run.clip->GetFrame(1);  // served again from the cache: nothing runs twice
    // Pattern: luma moves by 5 per frame, U by 1, V by 3.
    EXPECT_EQ(*run.notes, (std::vector<std::string>{"0:0.000000", "1:3.500000", "2:3.500000"}));
}

TEST(Language, BrokenScriptsNameFileLineAndFault) {
    const std::string missing = std::string("LoadPlugin(\"/nonexistent/x.dll\")");
    const std::string standin = std::string("LoadPlugin(\"") + FS_STANDIN_PLUGIN + "\")\n";
    const std::pair<std::string, std::string> cases[] = {
        {"x = (1 + 2", "t.avs, line 1: expected \")\" to close \"(\", found the end of the line"},
        {"\nFooBar(3)", "t.avs, line 2: there is no function named FooBar (is its plugin loaded?)"},
        {"\n\nTrim(1, \"a\")", "t.avs, line 3: Trim: argument 3 must be an integer, not a string"},
        {standin + "Decimate(threshold=\"x\")",
         "t.avs, line 2: Decimate: threshold must be a number, not a string"},
        {standin + "Decimate(cycle=1)", "t.avs, line 2: Decimate: cycle must be 2 or more"},
        {standin + "Telecide(order=1, order=0)", "t.avs, line 2: Telecide: order is given twice"},
        {"Trim(1)", "t.avs, line 1: Trim: argument 3 (an integer) is missing"},
        {"crop(0,0,4,4,true,5,6)", "t.avs, line 1: crop: too many arguments (it takes 6)"},
        {"Pattern(depth=8)", "t.avs, line 1: Pattern: has no parameter called depth"},
        {missing, "t.avs, line 1: LoadPlugin: The file /nonexistent/x.dll is missing"},
        {"x = y", "t.avs, line 1: \"y\" is neither a variable nor a function"},
        {"x = 1/0", "t.avs, line 1: division by zero"},
        {"x = 2147483647 + 1", "t.avs, line 1: integer overflow in 2147483647 + 1"},
        {"x = round(2147483648.0)",
         "t.avs, line 1: round: 2147483648.000000 is out of the integer range"},
        {"x = \"a\" + 1", "t.avs, line 1: \"+\" cannot combine a string and an integer"},
        {"x = \"abc", "t.avs, line 1: string is never closed"},
        {"x = 1 ? 2 : 3",
         "t.avs, line 1: the condition before \"?\" must be true or false, not "
         "an integer"},
        {"crop(1,0,10,10)",
         "t.avs, line 1: crop: 4:2:0 pictures are cut at even positions and "
         "sizes only"},
        {"crop(0,0,100,0)",
         "t.avs, line 1: crop: 0,0,100,0 does not lie within the picture of "
         "64x48"},
        {"Pattern(frames=5).Trim(7,0)",
         "t.avs, line 1: Trim: frames 7 to 0 hold no frame of a "
         "clip of 5 frames"},
        {"LanczosResize(33,20)",
         "t.avs, line 1: LanczosResize: 33x20 is no 4:2:0 size (even "
         "widths and heights up to 16384)"},
        {"Pattern(width=8)+Pattern()",
         "t.avs, line 1: +: clips of 8x48 and 64x48 pixels cannot "
         "be spliced"},
        {"function f(int n) {\nreturn f(n + 1) }\nf(1)",
         "t.avs, line 2: calls nested more than 100 deep: a function or FrameEvaluate calls "
         "itself without end"},
        {"FrameEvaluate(last, \"x = 1 +\")",
         "t.avs, line 1: expected a value, found the end of "
         "the line"},
        {"\n5", "t.avs, line 2: the script ends in an integer, not a clip"},
        {"}", "t.avs, line 1: \"}\" without a function it would close"},
        {"x = 1 @ 2", "t.avs, line 1: unexpected character '@'"},
        {"function f() {\nfunction g() { 1 }\n}",
         "t.avs, line 2: a function can only be defined "
         "at the top of the script"},
        {std::string(150, '(') + "1" + std::string(150, ')'),
         "t.avs, line 1: expression nested more than 100 levels deep"},
    };
    for (const auto& [script, message] : cases)
        EXPECT_EQ(RunScript(script).error, message) << script;
}

TEST(Language, ForeignPluginFilesAreRefused) {
    testing_support::TempDir dir;
    const std::string foreign = dir.Write("text.dll", "not a shared object\n");
    const auto text = RunScript("LoadPlugin(\"" + foreign + "\")").error;
    EXPECT_EQ(
        text.rfind("t.avs, line 1: LoadPlugin: The file " + foreign + " cannot be loaded: ", 0), 0u)
        << text;
}

// A FrameEvaluate whose statements read its own result would serve itself for ever.
TEST(Language, RunTimeRecursionIsAnErrorAtTheServedFrame) {
    const auto run =
        RunScript("c = FrameEvaluate(Pattern(), \"x = YDifferenceFromPrevious(c)\")\nc");
    ASSERT_EQ(run.error, "");
    try {
        run.clip->GetFrame(3);
        FAIL() << "no error";
    } catch (const std::exception& e) {
        EXPECT_EQ(std::string(e.what()),
                  "t.avs, line 1: calls nested more than 100 deep: a function or FrameEvaluate "
                  "calls itself without end");
    }
}
