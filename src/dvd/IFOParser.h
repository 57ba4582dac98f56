#pragma once
// Decodes the parts of a title set's IFO file ("VTS_xx_0.IFO") that describe its streams and its
// program chains, with every coded attribute turned into text and every playback time into
// "h:mm:ss.zzz". Plain value records; the counts are the file's, and the arrays hold one entry per
// counted item.
#include <cstdint>
#include <string>
#include <vector>

struct TVideoStream {
    std::string AspectRatio;  // "4:3", "16:9", "???"
    std::string Standard;     // "NTSC", "PAL", "???"
    std::string Coding;       // "MPEG1", "MPEG2", "???"
    std::string Resolution;   // "720x576" ...; empty when the standard is neither

    bool operator==(const TVideoStream&) const = default;
};

struct TAudioStream {
    uint8_t LanguageType = 0;   // bits 11-10 of the attribute word
    std::string Language;       // name from the language table
    std::string LanguageCode;   // the two code bytes as stored
    std::string Format;         // "AC3", "MPEG1", "MPEG2", "LPCM", "DTS", "???"
    uint8_t Channels = 0;       // 1 to 8
    std::string CodeExtension;  // "unspecified", "normal", "director's comments" ...

    bool operator==(const TAudioStream&) const = default;
};

struct TVTS_VOBS {
    uint16_t AudioStreamCount = 0;
    uint8_t SubpictureCount = 0;
    TVideoStream VideoAttributes;
    std::vector<TAudioStream> AudioStreams;
    std::vector<std::string> SubpictureLanguages;

    bool operator==(const TVTS_VOBS&) const = default;
};

struct TProgramChain {
    uint8_t ProgramCount = 0;
    uint8_t CellCount = 0;
    std::string Duration;
    std::vector<uint8_t> EntryCells;  // entry cell of each program, cells numbered from 1
    std::vector<std::string> ProgramDurations;
    std::vector<std::string> ProgramStarts;
    std::string AudioEnabled;       // one '1' or '0' per audio stream of the file
    std::string SubpictureEnabled;  // one '1' or '0' per subpicture stream of the file

    bool operator==(const TProgramChain&) const = default;
};

struct TVTS_PGCI {
    uint16_t ProgramChainCount = 0;
    std::vector<TProgramChain> ProgramChains;

    bool operator==(const TVTS_PGCI&) const = default;
};

struct TIFO {
    TVTS_VOBS Attributes;
    TVTS_PGCI ChainTable;

    bool operator==(const TIFO&) const = default;
};

// Reads and decodes the file at `path`. Raises DvdParseError naming the file and what was wrong
// when it cannot be read, ends before a value that is read, or holds a malformed time.
TIFO ReadIfo(const std::string& path);

// Decodes the bytes of an IFO file; `fileName` names it in messages.
TIFO DecodeIfo(const std::string& data, const std::string& fileName);

// Largest IFO file read. Real ones are well below a megabyte: the largest table they hold grows
// by four bytes per VOB unit (under half a second of video).
inline constexpr uint64_t kMaxIfoFileSize = 64ull << 20;
