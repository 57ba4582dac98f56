// Reads arbitrary text as a stream information file: every malformed line must end in
// DvdParseError, and the track counts must stay within the record's arrays.
// clang-format off
// fuzz-sources: src/dvd/StreamInfoText.cpp src/dvd/TextFields.cpp src/dvd/VobInfo.cpp src/util/SplitText.cpp src/platform/text_lines.cpp
// clang-format on
#include <cstdint>
#include <cstdlib>
#include <string>

#include "dvd/DvdError.h"
#include "dvd/StreamInfoText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    TVobInfo info;
    try {
        ReadStreamInfoText(text, "fuzz.txt", info);
        if (!info.Valid) std::abort();
    } catch (const DvdParseError&) {
    }
    if (info.AudioCount < 0 || info.AudioCount > kMaxAudioTracks || info.SubtitleCount < 0 ||
        info.SubtitleCount > kMaxSubtitleTracks) {
        std::abort();
    }
    return 0;
}
