// Reads arbitrary bytes as a subtitle index, and the same bytes as the bitmap file its entries
// point into, as the cutter does: a malformed index gives warnings or one error, a unit read
// from any position stays inside the bytes and is whole, and what was read writes back to an
// index that reads the same.
// clang-format off
// fuzz-sources: tools/subtitles/IndexText.cpp tools/subtitles/SubPacks.cpp tools/subtitles/SpuAssembler.cpp tools/media/PackReader.cpp tools/media/ByteSource.cpp tools/media/VobSequence.cpp tools/media/StreamKind.cpp
// clang-format on
#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "../../tools/subtitles/IndexText.h"
#include "../../tools/subtitles/SpuAssembler.h"
#include "../../tools/subtitles/SubPacks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> warnings;
    subtitles::SubtitleIndex index;
    try {
        index = subtitles::ParseIndex(bytes, "fuzz.idx", warnings);
    } catch (const std::runtime_error&) {
        return 0;
    }
    subtitles::SubBitmaps bitmaps({data, data + size}, "fuzz.sub");
    for (const subtitles::IndexStream& stream : index.streams) {
        if (stream.number < 0 || stream.number > 31) std::abort();
        for (const subtitles::IndexEntry& entry : stream.entries) {
            std::string problem;
            const auto unit = bitmaps.ReadUnitAt(entry.filepos, uint8_t(stream.number), problem);
            if (unit && !subtitles::PlausibleUnit(unit->bytes)) std::abort();
        }
    }
    std::vector<std::string> again;
    const subtitles::SubtitleIndex back =
        subtitles::ParseIndex(subtitles::IndexText(index), "back.idx", again);
    if (back.streams.size() != index.streams.size()) std::abort();
    for (size_t s = 0; s < back.streams.size(); ++s)
        if (back.streams[s].entries.size() != index.streams[s].entries.size()) std::abort();
    return 0;
}
