#pragma once
// Decimation: in each cycle of `cycle` frames the frame most like its predecessor is the
// duplicate that field matching leaves of telecined film.
//   mode 0  drops it: cycle-1 frames of every cycle (23.976 from 29.97 with cycle 5);
//   mode 3  hybrid, mostly film: a cycle whose duplicate measures at or below `threshold` is film
//           and drops it; a cycle above is video and gives cycle-1 frames blended from its cycle
//           frames, so the rate is that of mode 0 throughout;
//   mode 1  hybrid, mostly video: the rate stays; in a film cycle the duplicate is replaced by the
//           blend of its neighbours, video cycles pass unchanged.
// A last cycle shorter than `cycle` passes whole. With `debug`, every frame measured is reported
// on the debug-string channel as "Decimate: <frame>: <metric>".
#include <vector>

#include "frameserver_plugin.h"

namespace ivtc {

struct DecimateOptions {
    int cycle = 5;
    int mode = 0;
    double threshold = 0;
    bool debug = false;
};

class Decimate final : public fsrv::PassThroughClip {
  public:
    Decimate(fsrv::ClipPtr child, const DecimateOptions& options, fsrv::Host& host);
    fsrv::FramePtr GetFrame(int n) override;
    bool GetParity(int n) override;

    // The metric of input frame n against frame n-1 (frame 0: against frame 1).
    double Metric(int n);

  private:
    // First input frame of cycle c, and the number of input frames it has.
    int CycleStart(int c) const { return c * options_.cycle; }
    int CycleLength(int c) const;
    // The input frame of cycle c most like its predecessor.
    int Duplicate(int c);
    // The input frame behind output frame n when it is one unchanged, else -1.
    int Source(int n);
    fsrv::FramePtr Blend(int a, int b, int weightB, int total);
    fsrv::FramePtr Dropping(int n);
    fsrv::FramePtr Replacing(int n);

    DecimateOptions options_;
    fsrv::Host& host_;
    int inputFrames_;
    std::vector<double> metrics_;  // < 0: not measured yet
};

}  // namespace ivtc
