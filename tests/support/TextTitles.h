#pragma once
// Title folders described by the ripper's stream information file alone: the quickest way to give
// the input rules a title with exactly the tracks a test needs (DTS ones included).
#include <string>
#include <vector>

#include "support/TestEnv.h"

namespace testing_support {

struct TextTitle {
    std::string Video = "0xE0 - Video - MPEG-2 / 720x576 (PAL) / 16:9 / Letterboxed";
    std::vector<std::string> Audio;      // lines made by AudioStream()
    std::vector<std::string> Subtitles;  // lines made by SubtitleStream()
};

// "0x80 - Audio - AC3 / 6ch / 48KHz / DRC / English / Delay: 0ms" for stream `index`.
std::string AudioStream(int index, const std::string& format, const std::string& channels,
                        const std::string& language);
// "0x20 - Subtitle - English / LBA: 2104" for stream `index`, named "English".
std::string SubtitleStream(int index, const std::string& name);

// Writes `title` as "<dir>/<name>/VTS_01 - Stream Information.txt"; returns the folder.
std::string MakeTextTitle(const TempDir& dir, const std::string& name, const TextTitle& title);

// A PAL title with an English AC3 and a German DTS track and two subtitle tracks.
TextTitle TwoTrackTitle();

}  // namespace testing_support
