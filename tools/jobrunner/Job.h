#pragma once
// What a job script asks for, once its statements are read (JobStatements.h): the input, how
// the video is handled, the audio streams, the comments and the output.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace jobrunner {

// The format codes of SetSource.
inline constexpr uint32_t kFormatMpegAudio = 0x202;
inline constexpr uint32_t kFormatAc3 = 0x203;
// "auds": the audio stream of the opened AVI.
inline constexpr uint32_t kSourceAviStream = 0x73647561;

struct AudioStreamJob {
    int line = 0;         // of its SetSource, for messages
    std::string file;     // the audio file; empty when the stream comes from the opened AVI
    uint32_t format = 0;  // kFormatMpegAudio or kFormatAc3 for a file
    int aviStream = -1;   // the n-th audio stream of the opened AVI
    bool variableRate = false;
    // SetInterleave
    bool interleaved = true;
    int preloadMs = 500;
    int delayMs = 0;  // positive: the audio starts that much after the video
    // SetClipMode
    bool clipToVideoEnd = false;
};

struct FrameRange {
    int64_t first = 0;
    int64_t count = 0;
    int line = 0;
};

struct Comment {
    std::string tag;  // "IAS1"
    std::string text;
};

struct Job {
    std::string scriptName;
    std::string input;
    int openLine = 0;
    // SetMode(0) copies the input's frames as they are; otherwise they are served and, with a
    // codec, compressed.
    bool copyVideo = false;
    std::optional<uint32_t> codec;  // the handler code of SetCompression
    int codecLine = 0;
    std::optional<std::vector<uint8_t>> codecState;  // SetCompData, when it carried one
    int codecStateLine = 0;
    std::optional<FrameRange> range;
    std::map<int64_t, AudioStreamJob> audio;  // by stream index
    std::vector<Comment> comments;
    std::string output;
    int saveLine = 0;
};

}  // namespace jobrunner
