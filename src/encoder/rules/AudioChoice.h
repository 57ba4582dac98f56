#pragma once
// How each audio track goes into the AVI, and the texts the audio stage searches and runs with.
#include <cstdint>
#include <string>

struct TAudioChoice {
    bool AutoAudio = false;
    uint8_t AudioMode = 0;  // 1 AC3, 2 VBR MP3, 3 CBR MP3
    int32_t AudioBitrate = 0;
    uint8_t Audio2Mode = 0;
    int32_t Audio2Bitrate = 0;
};

// The automatic choice (mode 0) keeps AC3 for quality mode and for targets above 705 MB and
// encodes VBR MP3 at 128 kbit/s otherwise; the second track is then always VBR MP3 at 128.
// A chosen mode applies to both tracks.
TAudioChoice ResolveAudioChoice(uint8_t audioMode, int32_t audioBitrate, bool qualityMode,
                                int32_t targetSize);

// The search pattern for a demultiplexed track: the output base's name without extension, then
// "* t", the two-digit track number and " *" (the indexer writes " T01 " into the name).
std::string DemuxedAudioPattern(const std::string& tempBaseName, int32_t trackNumber);

// The encoder's arguments (starting with a blank) for one MP3 track.
std::string Mp3Arguments(bool cbr, bool mono, const std::string& input, const std::string& output,
                         const std::string& logFile, int32_t bitrate);
