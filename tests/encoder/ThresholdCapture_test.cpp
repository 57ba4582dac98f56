#include "encoder/rules/ThresholdCapture.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

TEST(ThresholdCapture, KeepsTheLargestMetricBelowTwoOfAnOddFrame) {
    const struct {
        const char* text;
        double before, after;
    } cases[] = {
        {"Decimate: 13: 1.53", 0, 1.53},
        {"Decimate: 15: 1.2", 1.53, 1.53},  // not larger
        {"Decimate: 12: 1.53", 0, 0},       // even frame
        {"Decimate: 13: 2.4", 0, 0},        // not below 2.0
        {"Decimate: 13: 2.0", 0, 0},
        {"Decimate: -13: 1.5", 0, 0},            // odd but not positive
        {"Decimate: 13", 0, 0},                  // two items
        {"Decimate: 13: 1.5: 7", 0, 0},          // four items
        {"Telecide: 13: 1.5", 0, 0},             // another filter
        {"  Decimate: 7 : 1.75 \r\n", 1, 1.75},  // blanks and line end trimmed
        {"[mpeg2] Decimate: 21: 0.5", 0.25, 0.5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        double threshold = c.before;
        CaptureThreshold(c.text, threshold);
        EXPECT_EQ(threshold, c.after);
    }
    double threshold = 0;
    CaptureThreshold(std::string("Decimate: 9: 1.25\0", 18), threshold);
    EXPECT_EQ(threshold, 1.25);
}

TEST(ThresholdCapture, ANumberThatDoesNotConvertIsAnError) {
    double threshold = 0;
    try {
        CaptureThreshold("Decimate: 13: 1,5", threshold);
        FAIL();
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "'1,5' is not a valid floating point value");
    }
    try {
        CaptureThreshold("Decimate: x13: 1.5", threshold);
        FAIL();
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "'x13' is not a valid integer value");
    }
    EXPECT_EQ(threshold, 0);
}

}  // namespace
