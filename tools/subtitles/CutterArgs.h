#pragma once
// The Cutter's command tail: "<source base> <part base> 1 <start> <end>". The planner writes the
// two names without quotes, so a name may hold blanks; the source is recognised by its index.
#include <cstdint>
#include <functional>
#include <string>

namespace subtitles {

struct CutterArgs {
    std::string source;  // base name of the pair to cut: "<source>.idx" and its bitmaps
    std::string part;    // base name of the pair to write
    int64_t startMs = 0;
    int64_t endMs = 0;
};

// A time text "h:m:s.f" ("0:0:0.0", "00:05:03.045"): hours, minutes and seconds in decimal, then
// a decimal fraction of a second, read to the millisecond. Raises an error for anything else.
int64_t ParseTimeText(const std::string& text);

// Splits the tail. Names in quotes are taken as quoted; otherwise the blank that separates them
// is the first one before which "<text>.idx" exists (`indexExists`). Raises an error naming the
// tail when it cannot be read, the range count is not 1, or the end lies before the start.
CutterArgs ParseCutterTail(const std::string& tail,
                           const std::function<bool(const std::string&)>& indexExists);

}  // namespace subtitles
