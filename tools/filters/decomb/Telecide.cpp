#include "Telecide.h"

#include <limits>

#include "Combing.h"
#include "Fields.h"

namespace ivtc {
namespace {

// Where a doubtful match looks for a sure one, nearest first.
constexpr int kGuideSteps[] = {-5, 5, -10, 10};

}  // namespace

Telecide::Telecide(fsrv::ClipPtr child, const TelecideOptions& options)
    : PassThroughClip(std::move(child)),
      options_(options),
      otherParity_(options.order == 1 ? 0 : 1),
      decisions_(size_t(std::max(info_.frameCount, 0))) {
    if (info_.width < 8 || info_.height < 8)
        throw fsrv::Error("Telecide: the clip is too small to match fields (" +
                          std::to_string(info_.width) + "x" + std::to_string(info_.height) +
                          ", at least 8x8)");
}

fsrv::FramePtr Telecide::Candidate(int n, Match m) {
    return child_->GetFrame(Clamp(m == Match::Next ? n + 1 : m == Match::Previous ? n - 1 : n));
}

// The least combed of the candidates; sure when it beats the runner-up clearly, by more than
// noise can make up (an eighth of a level per pixel of the field).
const Telecide::Decision& Telecide::Decide(int n) {
    Decision& d = decisions_[size_t(n)];
    if (d.match != Match::Unknown) return d;
    const fsrv::FramePtr cur = child_->GetFrame(n);
    int64_t cost[3] = {0, std::numeric_limits<int64_t>::max(), std::numeric_limits<int64_t>::max()};
    cost[0] = MatchCost(*cur, *cur, otherParity_);
    if (n + 1 < info_.frameCount)
        cost[1] = MatchCost(*cur, *Candidate(n, Match::Next), otherParity_);
    bool tryPrevious = options_.back == 2 && n > 0;
    if (options_.back == 1 && n > 0) {
        const int best = cost[1] < cost[0] ? 1 : 0;
        const auto woven = Weave(*cur, *Candidate(n, Match(best)), otherParity_);
        tryPrevious = IsCombedFrame(*woven, options_.threshold);
    }
    if (tryPrevious) cost[2] = MatchCost(*cur, *Candidate(n, Match::Previous), otherParity_);
    int best = 0;
    for (int i = 1; i < 3; ++i)
        if (cost[i] < cost[best]) best = i;
    int64_t second = std::numeric_limits<int64_t>::max();
    for (int i = 0; i < 3; ++i)
        if (i != best) second = std::min(second, cost[i]);
    const int64_t noise = int64_t(info_.width) * info_.height / 16;
    d.match = Match(best);
    d.sure = second == std::numeric_limits<int64_t>::max() || second > 2 * cost[best] + noise;
    return d;
}

// The frames the guide's decisions around n need that are not made yet, asked for in display
// order: a decoder going on through the title then never starts again for a frame behind the one
// it is at, and the frame server's cache keeps them for the decisions.
void Telecide::FetchForGuide(int n) {
    int first = n, last = n;
    for (int step : kGuideSteps) {
        const int k = n + step;
        if (k < 0 || k >= info_.frameCount || decisions_[size_t(k)].match != Match::Unknown)
            continue;
        first = std::min(first, k - (options_.back > 0 ? 1 : 0));
        last = std::max(last, k + 1);
    }
    if (first == last) return;
    for (int k = std::max(first, 0); k <= std::min(last, info_.frameCount - 1); ++k)
        child_->GetFrame(k);
}

// A doubtful match follows a sure one a whole cycle (or two) away: the 3:2 pattern repeats every
// five frames, so that frame's match is what this one's should be.
Telecide::Match Telecide::MatchOf(int n) {
    n = Clamp(n);
    const Decision& own = Decide(n);
    if (own.sure || options_.guide == 0) return own.match;
    FetchForGuide(n);
    for (int step : kGuideSteps) {
        const int k = n + step;
        if (k < 0 || k >= info_.frameCount) continue;
        const Decision& other = Decide(k);
        if (other.sure && (other.match != Match::Previous || options_.back > 0)) return other.match;
    }
    return own.match;
}

fsrv::FramePtr Telecide::GetFrame(int n) {
    n = Clamp(n);
    const Match match = MatchOf(n);
    const fsrv::FramePtr cur = child_->GetFrame(n);
    std::shared_ptr<fsrv::Frame> woven;
    if (match != Match::Current) woven = Weave(*cur, *Candidate(n, match), otherParity_);
    if (options_.post == 0 || !IsCombedFrame(woven ? *woven : *cur, options_.threshold))
        return woven ? fsrv::FramePtr(woven) : cur;
    if (!woven) {
        woven = std::make_shared<fsrv::Frame>(info_.width, info_.height);
        woven->CopyFrom(*cur);
    }
    const std::vector<uint8_t> flags = CombedPixels(*woven, options_.threshold);
    InterpolateField(*woven, otherParity_, options_.post == 1 ? nullptr : &flags);
    return woven;
}

}  // namespace ivtc
