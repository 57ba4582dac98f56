#include <gtest/gtest.h>

#include "util/utils.h"

namespace {

TEST(AudioDelayOf, ReadsTheLastWordBeforeMsAndTheExtension) {
    EXPECT_EQ(AudioDelayOf("movie T01 3_2ch 448Kbps DELAY -80ms.ac3"), -80);
    EXPECT_EQ(AudioDelayOf("movie T02 2_0ch 192Kbps DELAY 120ms.mpa"), 120);
    EXPECT_EQ(AudioDelayOf("/home/me/My DVD/mx_tmp/out T01 DELAY 0ms.wav"), 0);
    EXPECT_EQ(AudioDelayOf("DELAY +40ms.ac3"), 40);
    EXPECT_EQ(AudioDelayOf("-1500ms.ac3"), -1500);       // no blank: the whole rest
    EXPECT_EQ(AudioDelayOf("x DELAY -80xms.ac3"), -80);  // the number at the word's start
}

TEST(AudioDelayOf, NoNumberGivesZero) {
    EXPECT_EQ(AudioDelayOf("movie T01 DELAY abcms.ac3"), 0);
    EXPECT_EQ(AudioDelayOf("movie T01 DELAY ms.ac3"), 0);
    EXPECT_EQ(AudioDelayOf("movie T01 DELAY -ms.ac3"), 0);
    EXPECT_EQ(AudioDelayOf("movie T01 DELAY +-5ms.ac3"), 0);
    EXPECT_EQ(AudioDelayOf("movie.ac3"), 0);
    EXPECT_EQ(AudioDelayOf("ms.ac3"), 0);
    EXPECT_EQ(AudioDelayOf("a"), 0);
    EXPECT_EQ(AudioDelayOf(""), 0);
    EXPECT_EQ(AudioDelayOf("movie T01 DELAY 99999999999ms.ac3"), 0);  // beyond 32 bits
    EXPECT_EQ(AudioDelayOf("x DELAY 2147483647ms.ac3"), 2147483647);
    EXPECT_EQ(AudioDelayOf("x DELAY -2147483648ms.ac3"), INT32_MIN);
}

}  // namespace
