#include <gtest/gtest.h>

#include "util/utils.h"

namespace {

using std::chrono::hours;
using std::chrono::milliseconds;
using std::chrono::minutes;
using std::chrono::seconds;

const std::chrono::system_clock::time_point kStart =
    std::chrono::system_clock::from_time_t(1700000000);

std::string After(std::chrono::milliseconds span) {
    return DurationText(kStart, kStart + span);
}

TEST(DurationText, TheTableOfExamples) {
    EXPECT_EQ(After(hours(1) + seconds(5)), "1 hour, 0 minutes 5 seconds");
    EXPECT_EQ(After(seconds(42)), "42 seconds");
    EXPECT_EQ(After(hours(2) + minutes(1) + seconds(1)), "2 hours 1 minute, 1 second.");
    EXPECT_EQ(After(seconds(0)), "0 seconds");
}

TEST(DurationText, SingularAndPluralParts) {
    EXPECT_EQ(After(seconds(1)), "1 second.");
    EXPECT_EQ(After(minutes(1)), "1 minute, 0 seconds");
    EXPECT_EQ(After(minutes(59) + seconds(59)), "59 minutes 59 seconds");
    EXPECT_EQ(After(hours(1)), "1 hour, 0 minutes 0 seconds");
    EXPECT_EQ(After(hours(30) + minutes(2) + seconds(3)), "30 hours 2 minutes 3 seconds");
}

TEST(DurationText, OrderDoesNotMatterAndFractionsAreDropped) {
    EXPECT_EQ(DurationText(kStart + minutes(3) + seconds(7), kStart), "3 minutes 7 seconds");
    EXPECT_EQ(After(milliseconds(999)), "0 seconds");
    EXPECT_EQ(After(minutes(1) + milliseconds(59999)), "1 minute, 59 seconds");
    EXPECT_EQ(DurationText(kStart, kStart), "0 seconds");
}

}  // namespace
