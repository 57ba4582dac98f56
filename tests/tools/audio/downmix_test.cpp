#include <gtest/gtest.h>

#include <cmath>

#include "Downmix.h"

namespace {

AVChannelLayout Layout(const char* name) {
    AVChannelLayout layout{};
    EXPECT_EQ(av_channel_layout_from_string(&layout, name), 0) << name;
    return layout;
}

TEST(Downmix, FiveOneKeepsEachChannelOnItsSideAndCannotClipWithTheGain) {
    const AVChannelLayout in = Layout("5.1(side)");  // FL FR FC LFE SL SR
    const audio::DownmixMatrix plain = audio::MakeDownmix(in, 2, {-3, -3, false});
    const double h = std::pow(10.0, -3.0 / 20);
    const double left[] = {1, 0, h, 0, h, 0}, right[] = {0, 1, h, 0, 0, h};
    for (int i = 0; i < 6; ++i) {
        EXPECT_NEAR(plain.Gain(0, i), left[i], 1e-9) << i;
        EXPECT_NEAR(plain.Gain(1, i), right[i], 1e-9) << i;
    }
    const audio::DownmixMatrix safe = audio::MakeDownmix(in, 2, {-3, -3, true});
    double sum = 0;
    for (int i = 0; i < 6; ++i) sum += safe.Gain(0, i);
    EXPECT_NEAR(sum, 1.0, 1e-9);
    EXPECT_NEAR(safe.Gain(0, 2) / safe.Gain(0, 0), h, 1e-9);
    EXPECT_EQ(audio::DescribeDownmix(safe, in),
              "L = 0.414 FL + 0.293 FC + 0.293 SL; R = 0.414 FR + 0.293 FC + 0.293 SR");

    const audio::DownmixMatrix mono = audio::MakeDownmix(in, 1, {-3, -6, true});
    EXPECT_NEAR(mono.Gain(0, 0), mono.Gain(0, 1), 1e-9);
    EXPECT_EQ(mono.Gain(0, 3), 0);
}

TEST(Downmix, AOneChannelTrackIsTheWholeProgrammeOnBothSides) {
    const AVChannelLayout in = Layout("mono");
    for (int out : {1, 2}) {
        const audio::DownmixMatrix m = audio::MakeDownmix(in, out, {-3, -3, true});
        for (int o = 0; o < out; ++o) EXPECT_EQ(m.Gain(o, 0), 1.0);
    }
    const audio::DownmixMatrix stereoToMono = audio::MakeDownmix(Layout("stereo"), 1, {});
    EXPECT_EQ(stereoToMono.Gain(0, 0), 0.5);
    EXPECT_EQ(stereoToMono.Gain(0, 1), 0.5);
}

}  // namespace
