#include "Decimate.h"

#include <charconv>

#include "Metric.h"
#include "common/FilterKit.h"

namespace ivtc {

Decimate::Decimate(fsrv::ClipPtr child, const DecimateOptions& options, fsrv::Host& host)
    : PassThroughClip(std::move(child)),
      options_(options),
      host_(host),
      inputFrames_(info_.frameCount),
      metrics_(size_t(std::max(info_.frameCount, 0)), -1.0) {
    if (inputFrames_ < 1) throw fsrv::Error("Decimate: the clip has no frames");
    if (options.mode != 1) {
        const int cycles = inputFrames_ / options.cycle;
        info_.frameCount = cycles * (options.cycle - 1) + inputFrames_ % options.cycle;
        filters::ScaleRate(info_, unsigned(options.cycle - 1), unsigned(options.cycle));
    }
}

int Decimate::CycleLength(int c) const {
    return std::min(options_.cycle, inputFrames_ - CycleStart(c));
}

double Decimate::Metric(int n) {
    double& m = metrics_[size_t(n)];
    if (m >= 0) return m;
    const int other = n == 0 ? std::min(1, inputFrames_ - 1) : n - 1;
    m = FrameDifference(*child_->GetFrame(n), *child_->GetFrame(other));
    if (options_.debug) {
        char text[64];
        const auto end = std::to_chars(text, text + sizeof text, m, std::chars_format::fixed, 6);
        host_.DebugString("Decimate: " + std::to_string(n) + ": " + std::string(text, end.ptr));
    }
    return m;
}

int Decimate::Duplicate(int c) {
    const int start = CycleStart(c);
    int best = start;
    for (int i = start; i < start + CycleLength(c); ++i)
        if (Metric(i) < Metric(best)) best = i;
    return best;
}

int Decimate::Source(int n) {
    n = Clamp(n);
    if (options_.mode == 1) {
        const int c = n / options_.cycle;
        if (CycleLength(c) < options_.cycle) return n;
        const int dup = Duplicate(c);
        return n == dup && Metric(dup) <= options_.threshold ? -1 : n;
    }
    const int perCycle = options_.cycle - 1;
    const int c = n / perCycle, k = n % perCycle, start = CycleStart(c);
    if (CycleLength(c) < options_.cycle) return start + k;
    const int dup = Duplicate(c);
    if (options_.mode == 3 && Metric(dup) > options_.threshold) return -1;
    return start + k < dup ? start + k : start + k + 1;
}

fsrv::FramePtr Decimate::Blend(int a, int b, int weightB, int total) {
    const fsrv::FramePtr fa = child_->GetFrame(std::clamp(a, 0, inputFrames_ - 1));
    const fsrv::FramePtr fb = child_->GetFrame(std::clamp(b, 0, inputFrames_ - 1));
    auto out = filters::NewFrame(info_);
    const int weightA = total - weightB;
    for (int p = 0; p < 3; ++p)
        for (int y = 0; y < out->Height(p); ++y) {
            const uint8_t* ra = filters::Row(*fa, p, y);
            const uint8_t* rb = filters::Row(*fb, p, y);
            uint8_t* o = filters::Row(*out, p, y);
            for (int x = 0; x < out->Width(p); ++x)
                o[x] = uint8_t((ra[x] * weightA + rb[x] * weightB + total / 2) / total);
        }
    return out;
}

fsrv::FramePtr Decimate::GetFrame(int n) {
    n = Clamp(n);
    const int source = Source(n);
    if (source >= 0) return child_->GetFrame(source);
    if (options_.mode == 1) return Blend(n - 1, n + 1, 1, 2);
    // A video cycle: output frame k sits k * cycle / (cycle - 1) frames into the cycle.
    const int perCycle = options_.cycle - 1;
    const int start = CycleStart(n / perCycle), at = n % perCycle * options_.cycle;
    return Blend(start + at / perCycle, start + at / perCycle + 1, at % perCycle, perCycle);
}

bool Decimate::GetParity(int n) {
    n = Clamp(n);
    const int source = Source(n);
    if (source >= 0) return child_->GetParity(source);
    return child_->GetParity(
        CycleStart(n / (options_.mode == 1 ? options_.cycle : options_.cycle - 1)));
}

}  // namespace ivtc
