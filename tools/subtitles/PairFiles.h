#pragma once
// Writing a subtitle pair: the bitmap file "<base>.sub" and its index "<base>.idx".
#include <cstdint>
#include <string>
#include <vector>

namespace subtitles {

struct TimedUnit {
    uint8_t stream = 0;
    int64_t timeMs = 0;  // on the timeline of the pair being written
    std::vector<uint8_t> bytes;
};

struct StreamLabel {
    int number = 0;
    std::string language;
};

// Writes the units in time order (ties in the order given) into "<base>.sub", then the index
// with `header` and one block per label, each listing the units of its stream. Each file is
// written under a temporary name and renamed, the index last, so that a failed run leaves no
// index. Raises an error naming the file that could not be written.
void WritePair(const std::string& base, const std::vector<std::string>& header,
               const std::vector<StreamLabel>& streams, std::vector<TimedUnit> units);

}  // namespace subtitles
