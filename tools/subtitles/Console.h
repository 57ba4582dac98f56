#pragma once
// What the subtitle entries tell the caller while they work: warnings on standard error, naming
// the file concerned; progress as "progress <done> <total>" lines on standard output.
#include <cstdint>
#include <string>
#include <vector>

namespace subtitles {

void Warn(const std::string& text);
void WarnAll(const std::vector<std::string>& texts);
void Progress(int64_t done, int64_t total);

}  // namespace subtitles
