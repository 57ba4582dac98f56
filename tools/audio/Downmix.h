#pragma once
// The downmix of any channel layout to the one or two channels of the MP3: fronts to their
// side, the centre to both sides at the centre level, surrounds to their side at the surround
// level, a single back channel to both sides at the surround level less 3 dB, the low-frequency
// channel left out. A one-channel source is the whole programme and goes to both sides unchanged;
// a mono MP3 takes the mean of the two sides.
#include <string>
#include <vector>

extern "C" {
#include <libavutil/channel_layout.h>
}

namespace audio {

struct DownmixLevels {
    double centreDb = -3.0;
    double surroundDb = -3.0;
    bool clipProof = false;  // scale so that full scale on every input channel stays in range
};

struct DownmixMatrix {
    int outChannels = 2;
    int inChannels = 0;
    std::vector<double> gains;  // outChannels rows of inChannels gains
    double scale = 1.0;         // the clip-proof scale already applied to `gains`
    double Gain(int out, int in) const { return gains[size_t(out * inChannels + in)]; }
};

DownmixMatrix MakeDownmix(const AVChannelLayout& in, int outChannels, const DownmixLevels& levels);

// "L = 0.414 FL + 0.293 FC + 0.293 SL; R = ..." for the log.
std::string DescribeDownmix(const DownmixMatrix& m, const AVChannelLayout& in);

}  // namespace audio
