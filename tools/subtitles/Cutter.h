#pragma once
// Cutter: the subpictures of one time range of a subtitle pair, as a pair of their own whose
// times count from the range's start.
#include "CutterArgs.h"

namespace subtitles {

// Reads "<source>.idx" and "<source>.sub", or the .sub inside "<source>.rar" when there is no
// .sub, and writes "<part>.idx" and "<part>.sub" with the subpictures that start in
// [startMs, endMs). Raises an error naming the file when the source cannot be read or the part
// cannot be written; a subpicture that cannot be read is skipped with a warning.
void RunCutter(const CutterArgs& args);

}  // namespace subtitles
