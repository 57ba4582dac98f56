#pragma once
// Field matching. Each output frame keeps the second field (in time) of its input frame and
// takes the other field from the current frame, the next one or, when asked, the previous one:
// whichever weaves the least combed picture. On telecined film this puts the two fields of every
// film frame back together (one film frame then shows twice in each cycle of five, which the
// decimation drops); on progressive material the current frame wins and passes unchanged.
//
// Options, as the scripts give them:
//   order  1 top field first, 0 bottom field first
//   guide  0 none; 1 NTSC 3:2 film: a doubtful match (no candidate clearly less combed, as in a
//          still or nearly still picture) follows the match of the frame a cycle of five away
//   back   0 never the previous frame; 1 the previous frame when the best of the others is still
//          combed; 2 always among the candidates
//   post   0 as matched; 1 a frame still combed after matching gets its other field
//          interpolated from the kept one; 2 the same in the combed areas only
//   threshold  the comb measure (0..255) above which post-processing sees a pixel as combed
#include <vector>

#include "frameserver_plugin.h"

namespace ivtc {

struct TelecideOptions {
    int order = 1;
    int guide = 0;
    int back = 0;
    int post = 2;
    int threshold = 30;
};

class Telecide final : public fsrv::PassThroughClip {
  public:
    Telecide(fsrv::ClipPtr child, const TelecideOptions& options);
    fsrv::FramePtr GetFrame(int n) override;

    enum class Match : int8_t { Unknown = -1, Current, Next, Previous };
    // The match chosen for frame n (after guidance), for tests and the post-processing.
    Match MatchOf(int n);

  private:
    struct Decision {
        Match match = Match::Unknown;
        bool sure = false;
    };
    const Decision& Decide(int n);
    void FetchForGuide(int n);
    fsrv::FramePtr Candidate(int n, Match m);

    TelecideOptions options_;
    int otherParity_;  // the field taken from the matched frame: the first in time
    std::vector<Decision> decisions_;
};

}  // namespace ivtc
