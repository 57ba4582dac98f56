#pragma once
// The description of one ripped DVD title as the rest of the program sees it. Plain values: a copy
// is a full, independent copy; the arrays have fixed sizes with a count of used entries beside
// them, and entries past the count stay empty.
#include <array>
#include <cstdint>
#include <string>

struct TVideoInfo {
    int32_t StreamId = 0;
    bool IsNTSC = false;
    std::string Standard;  // "NTSC", "PAL" or empty
    double FrameRate = 0;  // 25.0 PAL, 29.997 NTSC, 0 when neither
    int32_t Width = 0;
    int32_t Height = 0;
    bool Widescreen = false;
    double AspectFactor = 0;  // 1.0 for 4:3; 1.33333 (text route) or 1.333 (IFO route) for 16:9

    bool operator==(const TVideoInfo&) const = default;
};

struct TAudioinfo {
    int32_t StreamId = 0;  // the track number is StreamId + 1
    std::string Language;
    std::string Channels;  // "2ch", "6ch", "1ch"
    std::string Format;    // "AC3", "DTS", "MPEG1", "LPCM"
    int32_t TailValue = 0;

    bool operator==(const TAudioinfo&) const = default;
};

struct TSubtitleInfo {
    int32_t StreamId = 0;  // subpicture stream 0..31
    std::string Name;

    bool operator==(const TSubtitleInfo&) const = default;
};

inline constexpr int kMaxAudioTracks = 16;
inline constexpr int kMaxSubtitleTracks = 32;

struct TVobInfo {
    bool Valid = false;
    TVideoInfo Video;
    int32_t AudioCount = 0;
    std::array<TAudioinfo, kMaxAudioTracks> Audio{};
    int32_t SubtitleCount = 0;
    std::array<TSubtitleInfo, kMaxSubtitleTracks> Subtitles{};
    std::string FirstVob;  // bare name such as VTS_01_1.vob; empty on the text route
    std::string Duration;  // "h:mm:ss.zzz"; empty on the text route

    bool operator==(const TVobInfo&) const = default;

    // Appends a track while there is room; false (and nothing written) when the array is full.
    bool AddAudio(const TAudioinfo& track);
    bool AddSubtitle(const TSubtitleInfo& track);
};
