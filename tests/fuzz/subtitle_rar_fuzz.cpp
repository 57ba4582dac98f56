// Reads arbitrary bytes as the RAR archive beside a subtitle index, as the cutter does, and the
// bitmap file it yields as packs from every pack start: damage gives one error, never a crash,
// a read past the bytes or a bitmap file over the cutter's limit.
// clang-format off
// fuzz-sources: tools/subtitles/RarSub.cpp tools/subtitles/SubPacks.cpp tools/subtitles/SpuAssembler.cpp tools/media/PackReader.cpp tools/media/ByteSource.cpp tools/media/VobSequence.cpp tools/media/StreamKind.cpp
// fuzz-libs: archive
// clang-format on
#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "../../tools/subtitles/RarSub.h"
#include "../../tools/subtitles/SpuAssembler.h"
#include "../../tools/subtitles/SubPacks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    std::string sub;
    try {
        sub = subtitles::SubFromRarBytes(bytes, "fuzz.rar", "movie.sub");
    } catch (const std::runtime_error&) {
        return 0;
    }
    if (sub.size() > subtitles::kLargestSub) std::abort();
    subtitles::SubBitmaps bitmaps({sub.begin(), sub.end()}, "fuzz.rar: movie.sub");
    for (size_t pos = 0; pos < sub.size() && pos < 64 * subtitles::kPackSize;
         pos += subtitles::kPackSize) {
        std::string problem;
        const auto unit =
            bitmaps.ReadUnitAt(pos, uint8_t(pos / subtitles::kPackSize % 32), problem);
        if (unit && !subtitles::PlausibleUnit(unit->bytes)) std::abort();
    }
    return 0;
}
