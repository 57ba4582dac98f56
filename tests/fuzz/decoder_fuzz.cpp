// The decoder's own rules on arbitrary input: an index made from the first bytes (entries with
// any flags, any pictures, none at all) through the display order, the start entries and the
// frame map of every field operation, whose picture numbers must stay in range; the rest as an
// elementary stream fed to the picture splitter in arbitrary pieces with entries beginning and
// being lost in between. A crash, a hang, a read past a buffer or a number out of range is a find.
// clang-format off
// fuzz-sources: tools/decoder/PictureTable.cpp tools/decoder/FieldMap.cpp tools/decoder/PictureSplitter.cpp tools/media/VideoIndex.cpp
// fuzz-includes: tools/decoder tools/frameserver
// clang-format on
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "FieldMap.h"
#include "PictureSplitter.h"
#include "PictureTable.h"

namespace {

media::VideoIndex IndexOf(const uint8_t* data, size_t size) {
    media::VideoIndex index;
    for (size_t i = 0; i + 1 < size;) {
        media::IndexEntry entry;
        entry.flags = data[i];
        const size_t count = data[i + 1] % 24;
        i += 2;
        for (size_t k = 0; k < count && i < size; ++k, ++i)
            entry.pictures.push_back({uint8_t(data[i] & 3 ? data[i] : data[i] | 1)});
        index.entries.push_back(entry);
    }
    return index;
}

void CheckTable(const media::VideoIndex& index, bool progressive) {
    if (index.PictureCount() == 0) return;
    const decoder::PictureTable table(index);
    const auto inRange = [&](int d) { return d >= 0 && d < table.Count(); };
    for (int d = 0; d < table.Count(); ++d) {
        const int start = table.StartEntryFor(d);
        if (!inRange(table.Served(d)) || start < 0 || start >= table.EntryCount() ||
            !inRange(table.FirstValid(start)) || table.DisplayOf(table.CodedOf(d)) != d)
            std::abort();
    }
    for (int op = 0; op < 4; ++op)
        for (const decoder::FrameFields& f :
             decoder::MapFrames(table, decoder::FieldOperation(op), progressive))
            if (!inRange(f.top) || !inRange(f.bottom)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const size_t indexBytes = std::min<size_t>(data[0], size - 1);
    const media::VideoIndex index = IndexOf(data + 1, indexBytes);
    CheckTable(index, data[1] & 1);

    decoder::PictureSplitter splitter;
    size_t fed = 0, entry = 0;
    for (size_t i = 1 + indexBytes; i < size;) {
        const uint8_t step = data[i++];
        if (step == 0xFE && !index.entries.empty()) {
            splitter.BeginEntry(index.entries[entry % index.entries.size()], int(entry) * 24);
            ++entry;
        } else if (step == 0xFD) {
            splitter.LoseCount();
        }
        const size_t n = std::min<size_t>(step % 64, size - i);
        splitter.Feed(data + i, n);
        fed += n;
        i += n;
    }
    splitter.Finish();
    size_t out = 0;
    for (const decoder::PicturePiece& piece : splitter.Ready()) {
        if (piece.tag < -1 || piece.tag >= int(entry) * 24 + 24) std::abort();
        out += piece.bytes.size();
    }
    if (out > fed) std::abort();
    return 0;
}
