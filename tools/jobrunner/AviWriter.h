#pragma once
// Our AVI writer. A file up to 1 GiB of chunks is one "AVI " RIFF with the "idx1" index: per
// chunk 8 bytes of header, a pad byte for an odd size and 16 bytes of index. Beyond that it
// becomes an OpenDML file: further "AVIX" RIFFs of up to 1 GiB each, a standard index ("ix##",
// 8 bytes a chunk) for every stream at the end of every RIFF's "movi" list, the super indexes
// ("indx") in the stream headers, and still the "idx1" of the first RIFF for players that know
// no other. The room for the super indexes is kept as "JUNK" in every file, so a file needs no
// second header when it grows past 1 GiB.
#include <cstdint>
#include <string>
#include <vector>

#include "ByteWriter.h"
#include "Job.h"
#include "media/OutputFile.h"

namespace jobrunner {

inline constexpr uint64_t kRiffLimit = uint64_t(1) << 30;

struct AviStream {
    char type[5] = "vids";         // "vids" or "auds"
    uint32_t handler = 0;          // the video's FOURCC
    uint32_t scale = 1, rate = 1;  // the stream's unit is scale / rate seconds
    uint32_t sampleSize = 0;       // 0: one unit a chunk; else bytes per unit
    std::vector<uint8_t> format;   // the "strf" data: BITMAPINFOHEADER or WAVEFORMATEX
    int width = 0, height = 0;     // video
    char chunkId[5] = "00dc";
};

struct AviLayout {
    std::vector<AviStream> streams;   // the video first
    std::vector<Comment> comments;    // the INFO list
    uint32_t superIndexRoom = 16;     // RIFFs (of 1 GiB) the header has room to index
    uint64_t riffLimit = kRiffLimit;  // bytes of chunks in one RIFF
};

class AviWriter {
  public:
    // Writes the header; every failure is a media::MediaError naming the file.
    AviWriter(media::OutputFile& file, AviLayout layout);
    // One chunk of `stream`; `ticks` is its length in the stream's units (frames, or bytes).
    void Write(size_t stream, const uint8_t* data, size_t size, bool key, uint64_t ticks);
    // A new "strf" for the final header, of the same size (an average known only at the end).
    void SetFormat(size_t stream, std::vector<uint8_t> format);
    // Closes the last RIFF and writes the final header.
    void Finish();

    uint64_t VideoFrames() const { return state_[0].ticks; }
    bool IsOpenDml() const { return riffs_ > 1; }

  private:
    struct Entry {
        uint64_t pos;  // of the chunk's header
        uint32_t size;
        bool key;
    };
    struct Idx1Entry {
        uint32_t stream;
        Entry entry;
    };
    struct SuperEntry {
        uint64_t pos;
        uint32_t size;
        uint32_t duration;
    };
    struct StreamState {
        uint64_t ticks = 0;
        uint32_t maxChunk = 0;
        std::vector<Entry> riffEntries;  // of the current RIFF
        uint64_t riffTicks = 0;
        std::vector<SuperEntry> super;
        uint64_t firstRiffChunks = 0;
    };

    std::vector<uint8_t> Header() const;
    void HeaderMain(ByteWriter& w) const;
    void HeaderStream(ByteWriter& w, size_t s) const;
    void OpenRiff(const char* type);
    void CloseRiff(bool withStandardIndexes);
    void WriteStandardIndex(size_t s);
    void WriteIdx1();

    media::OutputFile& file_;
    AviLayout layout_;
    std::vector<StreamState> state_;
    std::vector<Idx1Entry> idx1_;
    int riffs_ = 0;
    uint64_t riffPos_ = 0, moviPos_ = 0;  // of the current RIFF's "RIFF" and "LIST" codes
    uint32_t firstRiffSize_ = 0, firstMoviSize_ = 0;
    size_t headerSize_ = 0;
};

}  // namespace jobrunner
