#include "app/ProgressText.h"

#include <gtest/gtest.h>

namespace {

TEST(ProgressText, WhatTheBarAndTheStatusLineSay) {
    platform::FormatSettings comma = platform::ProgramFormat();
    comma.decimalSeparator = ',';
    EXPECT_EQ(ProgressText({"Indexing", 0, 0, false, 0, -1}, comma), "Indexing");
    EXPECT_EQ(ProgressText({"Indexing", 1, 3, false, 5e6, 0.4}, comma), "Indexing: 33%, 0:00 left");
    EXPECT_EQ(ProgressText({"First pass", 1234, 2740, true, 38.24, 39.4}, comma),
              "First pass: 45%, frame 1234 of 2740, 38,2 fps, 0:39 left");
    EXPECT_EQ(ProgressText({"Second pass", 10, 90000, true, 0, -1}, comma),
              "Second pass: 0%, frame 10 of 90000");
    EXPECT_EQ(ProgressText(TJobProgress{}, comma), "");
    EXPECT_EQ(ProgressPercent({"x", 2739, 2740, true, 0, -1}), 99);
    EXPECT_EQ(ProgressPercent({"x", 5, 0, true, 0, -1}), 0);
    EXPECT_EQ(TimeLeftText(725), "12:05");
    EXPECT_EQ(TimeLeftText(3723.4), "1:02:03");
}

}  // namespace
