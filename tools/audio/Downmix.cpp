#include "Downmix.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace audio {
namespace {

struct Sides {
    double left = 0, right = 0;
};

double FromDb(double db) {
    return std::pow(10.0, db / 20.0);
}

// Where one input channel goes in a two-channel mix.
Sides SidesOf(AVChannel ch, double centre, double surround) {
    switch (ch) {
        case AV_CHAN_FRONT_LEFT:
        case AV_CHAN_FRONT_LEFT_OF_CENTER:
        case AV_CHAN_WIDE_LEFT:
        case AV_CHAN_STEREO_LEFT:
            return {1, 0};
        case AV_CHAN_FRONT_RIGHT:
        case AV_CHAN_FRONT_RIGHT_OF_CENTER:
        case AV_CHAN_WIDE_RIGHT:
        case AV_CHAN_STEREO_RIGHT:
            return {0, 1};
        case AV_CHAN_FRONT_CENTER:
            return {centre, centre};
        case AV_CHAN_BACK_LEFT:
        case AV_CHAN_SIDE_LEFT:
        case AV_CHAN_SURROUND_DIRECT_LEFT:
            return {surround, 0};
        case AV_CHAN_BACK_RIGHT:
        case AV_CHAN_SIDE_RIGHT:
        case AV_CHAN_SURROUND_DIRECT_RIGHT:
            return {0, surround};
        case AV_CHAN_BACK_CENTER:
            return {surround * M_SQRT1_2, surround * M_SQRT1_2};
        case AV_CHAN_LOW_FREQUENCY:
        case AV_CHAN_LOW_FREQUENCY_2:
            return {0, 0};
        default:  // heights and channels without a place: to both sides, 3 dB down
            return {M_SQRT1_2, M_SQRT1_2};
    }
}

}  // namespace

DownmixMatrix MakeDownmix(const AVChannelLayout& in, int outChannels, const DownmixLevels& levels) {
    DownmixMatrix m;
    m.outChannels = outChannels;
    m.inChannels = in.nb_channels;
    m.gains.assign(size_t(outChannels * in.nb_channels), 0.0);
    const double centre = FromDb(levels.centreDb), surround = FromDb(levels.surroundDb);
    for (int i = 0; i < in.nb_channels; ++i) {
        const Sides s =
            in.nb_channels == 1
                ? Sides{1, 1}
                : SidesOf(av_channel_layout_channel_from_index(&in, unsigned(i)), centre, surround);
        if (outChannels == 1) {
            m.gains[size_t(i)] = (s.left + s.right) / 2;
        } else {
            m.gains[size_t(i)] = s.left;
            m.gains[size_t(in.nb_channels + i)] = s.right;
        }
    }
    if (!levels.clipProof) return m;
    double worst = 1.0;
    for (int o = 0; o < outChannels; ++o) {
        double sum = 0;
        for (int i = 0; i < m.inChannels; ++i) sum += std::abs(m.Gain(o, i));
        worst = std::max(worst, sum);
    }
    m.scale = 1.0 / worst;
    for (double& g : m.gains) g *= m.scale;
    return m;
}

std::string DescribeDownmix(const DownmixMatrix& m, const AVChannelLayout& in) {
    std::string text;
    for (int o = 0; o < m.outChannels; ++o) {
        text += o == 0 ? (m.outChannels == 1 ? "M =" : "L =") : "; R =";
        bool first = true;
        for (int i = 0; i < m.inChannels; ++i) {
            if (m.Gain(o, i) == 0) continue;
            char name[32] = "?";
            av_channel_name(name, sizeof name,
                            av_channel_layout_channel_from_index(&in, unsigned(i)));
            char term[64];
            std::snprintf(term, sizeof term, "%s %.3f %s", first ? "" : " +", m.Gain(o, i), name);
            text += term;
            first = false;
        }
        if (first) text += " silence";
    }
    return text;
}

}  // namespace audio
