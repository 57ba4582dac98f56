#pragma once
// Clips that pick frames of other clips: splicing, trimming and sampling. Each checks its input
// and throws Error("Name: what is wrong").
#include "frameserver_plugin.h"

namespace fsrv {

// `a` followed by `b` (the script's "+"); both must have the same size and frame rate. Splicing
// a splice extends it, so a long "Trim(..)+Trim(..)+..." stays one flat clip.
ClipPtr SpliceClips(const ClipPtr& a, const ClipPtr& b);

// Frames first..last. last 0 means to the end, a negative last -n means n frames; a last beyond
// the end is cut to the end.
ClipPtr TrimClip(const ClipPtr& clip, int first, int last);

// `length` frames out of every `every`, starting at frame `offset`.
ClipPtr SelectRangeEveryClip(const ClipPtr& clip, int every, int length, int offset);

// The picture from (left, top) on, `width` x `height` pixels; zero or negative sizes count from
// the right and bottom edges. 4:2:0 wants even values throughout.
ClipPtr CropClip(const ClipPtr& clip, int left, int top, int width, int height);

}  // namespace fsrv
