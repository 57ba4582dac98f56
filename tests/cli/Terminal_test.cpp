#include "cli/Terminal.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

const TJobProgress kPass{"First pass", 50, 200, true, 25, 6};

// On a terminal the line is written over in place, cut to the width, and moved out of the way of
// every other line; elsewhere nothing extra is written at all.
TEST(ProgressLine, OnATerminalOnlyAndNeverMixedWithOtherLines) {
    std::ostringstream err, out;
    int columns = 80;
    TProgressLine line(
        err, [&] { return columns; }, platform::ProgramFormat());
    line.ShowProgress(kPass);
    const std::string text = "First pass: 25%, frame 50 of 200, 25.0 fps, 0:06 left";
    EXPECT_EQ(err.str(), "\r" + text);
    err.str("");
    line.Write(out, "[log] Running second pass.");
    EXPECT_EQ(out.str(), "[log] Running second pass.\n");
    const std::string blank = "\r" + std::string(text.size(), ' ') + "\r";
    EXPECT_EQ(err.str(), blank + "\r" + text);
    err.str("");
    columns = 11;
    line.ShowProgress({"Splitting", 1, 3, false, 0, -1});
    EXPECT_EQ(err.str(), blank + "\rSplitting:");
    err.str("");
    line.ShowProgress(TJobProgress{});
    EXPECT_EQ(err.str(), "\r" + std::string(10, ' ') + "\r");

    std::ostringstream quiet, log;
    TProgressLine off(
        quiet, [] { return 0; }, platform::ProgramFormat());
    off.ShowProgress(kPass);
    off.Write(log, "a line");
    EXPECT_EQ(quiet.str(), "");
    EXPECT_EQ(log.str(), "a line\n");
}

}  // namespace
