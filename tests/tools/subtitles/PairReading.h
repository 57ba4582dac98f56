#pragma once
// A subtitle pair as ffmpeg's vobsub demuxer and subpicture decoder read it: the independent
// judge of what the extractor and the cutter write.
#include <cstdint>
#include <string>
#include <vector>

namespace subtitletest {

struct SeenSubpicture {
    int stream = 0;        // the stream's number from the index ("index: n")
    std::string language;  // its language tag
    int64_t ms = 0;        // presentation time
    bool forced = false;
    bool yellow = false;  // some opaque pixel is yellow
    bool white = false;   // some opaque pixel is white
};

struct SeenPair {
    std::string error;  // empty when the pair was read to its end
    std::vector<SeenSubpicture> subpictures;
};

SeenPair ReadPairWithFfmpeg(const std::string& idxPath);

}  // namespace subtitletest
