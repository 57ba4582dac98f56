#include <gtest/gtest.h>

#include "Downmix.h"

namespace {

AVChannelLayout Layout(const char* name) {
    AVChannelLayout layout{};
    EXPECT_EQ(av_channel_layout_from_string(&layout, name), 0) << name;
    return layout;
}

// The sides of a 5.1 mix are checked on a real track by the transcoder's tests; these are the
// rules no DVD track of the tests reaches.
TEST(Downmix, MonoRulesAndTheClipProofScale) {
    for (int out : {1, 2}) {
        const audio::DownmixMatrix m = audio::MakeDownmix(Layout("mono"), out, {-3, -3, true});
        for (int o = 0; o < out; ++o) EXPECT_EQ(m.Gain(o, 0), 1.0);  // the whole programme
    }
    const audio::DownmixMatrix stereo = audio::MakeDownmix(Layout("stereo"), 1, {});
    EXPECT_EQ(stereo.Gain(0, 0), 0.5);
    EXPECT_EQ(stereo.Gain(0, 1), 0.5);

    const audio::DownmixMatrix six = audio::MakeDownmix(Layout("5.1(side)"), 1, {-3, -6, true});
    double sum = 0;
    for (int i = 0; i < 6; ++i) sum += six.Gain(0, i);
    EXPECT_NEAR(sum, 1.0, 1e-9);
    EXPECT_EQ(six.Gain(0, 3), 0);                                // LFE
    EXPECT_NEAR(six.Gain(0, 4) / six.Gain(0, 0), 0.501, 0.001);  // -6 dB
}

}  // namespace
