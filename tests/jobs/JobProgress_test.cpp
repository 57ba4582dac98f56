#include "jobs/JobProgress.h"

#include <gtest/gtest.h>

namespace {

using Clock = TProgressMeter::Clock;
using std::chrono::milliseconds;

// The speed counts from the tool's first line, once a second has passed; reports are spaced out
// but the first and the last always come.
TEST(ProgressMeter, SpeedAndTimeLeftFromTheFirstLine) {
    TProgressMeter meter;
    const Clock::time_point t0{};
    EXPECT_EQ(meter.Begin("First pass", true, t0), (TJobProgress{"First pass", 0, 0, true, 0, -1}));
    // Starting took five seconds: not counted.
    const auto first = meter.Update(100, 1000, t0 + milliseconds(5000));
    ASSERT_TRUE(first);
    EXPECT_EQ(first->Rate, 0);
    EXPECT_LT(first->SecondsLeft, 0);
    EXPECT_FALSE(meter.Update(110, 1000, t0 + milliseconds(5100)));  // too soon
    const auto later = meter.Update(300, 1000, t0 + milliseconds(7000));
    ASSERT_TRUE(later);
    EXPECT_EQ(later->Done, 300);
    EXPECT_DOUBLE_EQ(later->Rate, 100);
    EXPECT_DOUBLE_EQ(later->SecondsLeft, 7);
    const auto last = meter.Update(1000, 1000, t0 + milliseconds(7010));
    ASSERT_TRUE(last);
    EXPECT_DOUBLE_EQ(last->SecondsLeft, 0);

    // The next tool starts afresh.
    EXPECT_EQ(meter.Begin("Splitting", false, t0 + milliseconds(8000)).Done, 0);
    EXPECT_EQ(meter.Update(5, 10, t0 + milliseconds(8000))->Rate, 0);
}

}  // namespace
