#pragma once
// What the index says about the title's timing: the share of pulled-down film among its
// pictures, and the time at which the first picture the decoder serves is shown.
#include <cstdint>
#include <optional>

#include "media/VideoIndex.h"

namespace indexer {

// The share, in percent, of coded pictures that are pulled-down film. In display order, a
// picture counts when it is a progressive frame and it, or a progressive neighbour, repeats its
// first field: soft pulldown flags every other picture of a 3:2 cadence, so all of a pulled-down
// run counts, while video (interlaced pictures, or progressive ones without repeats) does not.
double FilmPercent(const media::VideoIndex& index);

// The 90 kHz time at which the first picture in display order is shown: the time stamp of the
// first picture that has one, less the display time of every picture shown before it. nullopt
// when no picture has a time stamp.
std::optional<int64_t> FirstShownTime(const media::VideoIndex& index);

// (audio - video) in whole milliseconds, nearest with halves to even, across a wrap of the
// 33-bit clock.
int32_t DelayMilliseconds(int64_t audioPts, int64_t videoPts);

}  // namespace indexer
