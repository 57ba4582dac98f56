#pragma once
// --save: one frame of a script written to a picture file, without a window.
#include <string>

#include "PlayerArgs.h"

namespace player {

// Writes frame args.frame (0 when not given) of args.script to args.savePath. The picture is
// written under a temporary name beside it and renamed at the end, so a failed run leaves
// nothing under that name. Returns the exit status; errors go to standard error.
int SaveFrame(const PlayerArgs& args);

}  // namespace player
