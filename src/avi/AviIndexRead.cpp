#include "avi/AviIndexRead.h"

#include <algorithm>
#include <string>

#include "avi/AviFormat.h"

namespace avi {

namespace {

constexpr size_t kEntriesPerRead = 4096;
constexpr uint32_t kIdx1EntrySize = 16;
constexpr uint32_t kStdIndexHeaderSize = 24;
constexpr uint32_t kKeyFrameFlagsOnly = 0x10;
constexpr uint32_t kNotKeyFrameBit = 0x80000000u;

// One standard index ("ix00" and the like) as its header describes it.
struct StdIndex {
    uint64_t at = 0;         // file offset of the chunk
    int64_t entriesPos = 0;  // first entry
    uint32_t count = 0;
    uint32_t stride = 8;  // bytes per entry
    uint64_t base = 0;    // added to every entry's offset
    bool video = false;
};

std::string StdWhat(uint64_t at) {
    return "standard index at offset " + std::to_string(at);
}

[[noreturn]] void ThrowStd(uint64_t at, const std::string& problem) {
    throw TAviFormatError(StdWhat(at) + ": " + problem);
}

StdIndex ReadStdIndexHeader(TAviFileReader& file, uint64_t at, int64_t fileSize) {
    uint8_t raw[8 + kStdIndexHeaderSize];
    if (at > uint64_t(fileSize) || uint64_t(fileSize) - at < sizeof raw ||
        !file.ReadExact(int64_t(at), raw, sizeof raw))
        ThrowStd(at, "it lies past the end of the file");
    const uint32_t size = LoadU32(raw + 4);
    if (size < kStdIndexHeaderSize) ThrowStd(at, "its size is too small for a header");
    if (int64_t(at) + 8 + int64_t(size) > fileSize)
        ThrowStd(at, "its size " + std::to_string(size) + " runs past the end of the file");
    StdIndex ix;
    ix.at = at;
    ix.entriesPos = int64_t(at) + 8 + kStdIndexHeaderSize;
    // Entries longer than two words (field indexes) start with the same offset and size.
    ix.stride = 4 * std::max<uint32_t>(2, LoadU16(raw + 8));
    ix.count = LoadU32(raw + 12);
    const uint8_t* chunkId = raw + 16;
    ix.video = chunkId[2] == 'd' && chunkId[3] == 'c';
    ix.base = LoadU64(raw + 20);
    const uint32_t room = (size - kStdIndexHeaderSize) / ix.stride;
    if (ix.count > room)
        ThrowStd(at, "it claims " + std::to_string(ix.count) + " entries but its chunk holds " +
                         std::to_string(room));
    if (ix.count > 0 && ix.base > uint64_t(fileSize))
        ThrowStd(at, "its base offset lies past the end of the file");
    return ix;
}

void AppendStdEntries(TAviFileReader& file, const StdIndex& ix, int64_t fileSize, TMyIndex& index) {
    std::vector<uint8_t> buf(kEntriesPerRead * ix.stride);
    for (uint32_t done = 0; done < ix.count;) {
        const uint32_t n = uint32_t(std::min<uint64_t>(kEntriesPerRead, ix.count - done));
        const int64_t pos = ix.entriesPos + int64_t(done) * ix.stride;
        if (!file.ReadExact(pos, buf.data(), size_t(n) * ix.stride))
            ThrowStd(ix.at, "its entries cannot be read");
        for (uint32_t k = 0; k < n; ++k) {
            const uint8_t* e = buf.data() + size_t(k) * ix.stride;
            const uint32_t raw = LoadU32(e + 4);
            TMyIndexEntry entry;
            entry.Size = raw & ~kNotKeyFrameBit;
            entry.Offset = int64_t(ix.base + LoadU32(e));
            if (ix.video) entry.Kind = (raw & kNotKeyFrameBit) ? kChunkDelta : kChunkKeyFrame;
            if (entry.Offset + int64_t(entry.Size) > fileSize)
                ThrowStd(ix.at,
                         "entry " + std::to_string(done + k) + " points past the end of the file");
            index.push_back(entry);
        }
        done += n;
    }
}

void CheckNoIndexTwice(const TAviSuperIndexEntryArray& super) {
    std::vector<uint64_t> offsets;
    offsets.reserve(super.size());
    for (const auto& e : super) offsets.push_back(e.IndexOffset);
    std::sort(offsets.begin(), offsets.end());
    const auto twice = std::adjacent_find(offsets.begin(), offsets.end());
    if (twice != offsets.end()) ThrowStd(*twice, "the super index lists it twice");
}

}  // namespace

void ReadIdx1Index(TAviFileReader& file, const TAviStructure& s, TMyIndex& index) {
    const std::string what = "\"idx1\" index";
    if (s.Idx1Count > kMaxIndexEntries)
        ThrowAt(s.Idx1Start, what,
                std::to_string(s.Idx1Count) + " entries are more than a film has");
    index.clear();
    index.reserve(s.Idx1Count);
    std::vector<uint8_t> buf(kEntriesPerRead * kIdx1EntrySize);
    for (uint32_t done = 0; done < s.Idx1Count;) {
        const uint32_t n = uint32_t(std::min<uint64_t>(kEntriesPerRead, s.Idx1Count - done));
        const int64_t pos = s.Idx1Start + int64_t(done) * kIdx1EntrySize;
        if (!file.ReadExact(pos, buf.data(), size_t(n) * kIdx1EntrySize))
            ThrowAt(pos, what, "its entries cannot be read");
        for (uint32_t k = 0; k < n; ++k) {
            const uint8_t* e = buf.data() + size_t(k) * kIdx1EntrySize;
            TMyIndexEntry entry;
            entry.Size = LoadU32(e + 12);
            if (LoadU32(e) == FourCC("00dc"))
                entry.Kind = LoadU32(e + 4) == kKeyFrameFlagsOnly ? kChunkKeyFrame : kChunkDelta;
            if (int64_t(entry.Size) > s.FileSize)
                ThrowAt(
                    pos + int64_t(k) * kIdx1EntrySize, what,
                    "entry " + std::to_string(done + k) + " names a chunk larger than the file");
            index.push_back(entry);
        }
        done += n;
    }
}

void ReadOpenDmlIndex(TAviFileReader& file, const TAviStructure& s, TMyIndex& index) {
    CheckNoIndexTwice(s.SuperIndex);
    // All headers are checked before anything is allocated, so the index is allocated once and
    // exactly, and a count that the file cannot hold never reaches the allocator.
    std::vector<StdIndex> parts;
    parts.reserve(s.SuperIndex.size());
    uint64_t total = 0;
    for (const auto& e : s.SuperIndex) {
        parts.push_back(ReadStdIndexHeader(file, e.IndexOffset, s.FileSize));
        total += parts.back().count;
    }
    if (total > kMaxIndexEntries)
        throw TAviFormatError("the standard indexes hold " + std::to_string(total) +
                              " entries, more than a film has");
    index.clear();
    index.reserve(size_t(total));
    std::vector<size_t> runStarts;
    runStarts.reserve(parts.size());
    for (const auto& ix : parts) {
        runStarts.push_back(index.size());
        AppendStdEntries(file, ix, s.FileSize, index);
    }
    MergeRuns(index, std::move(runStarts));
}

void MergeRuns(TMyIndex& index, std::vector<size_t> runStarts) {
    const auto byOffset = [](const TMyIndexEntry& a, const TMyIndexEntry& b) {
        return a.Offset < b.Offset;
    };
    const auto first = index.begin();
    if (std::is_sorted(first, index.end(), byOffset)) return;
    if (runStarts.empty() || runStarts.front() != 0) runStarts.insert(runStarts.begin(), 0);
    runStarts.push_back(index.size());
    for (size_t k = 0; k + 1 < runStarts.size(); ++k) {
        // A run out of order comes from a damaged writer; it is sorted on its own first.
        const auto b = first + runStarts[k], e = first + runStarts[k + 1];
        if (!std::is_sorted(b, e, byOffset)) std::stable_sort(b, e, byOffset);
    }
    while (runStarts.size() > 2) {
        std::vector<size_t> merged;
        size_t k = 0;
        for (; k + 2 < runStarts.size(); k += 2) {
            std::inplace_merge(first + runStarts[k], first + runStarts[k + 1],
                               first + runStarts[k + 2], byOffset);
            merged.push_back(runStarts[k]);
        }
        if (k + 1 < runStarts.size()) merged.push_back(runStarts[k]);
        merged.push_back(index.size());
        runStarts = std::move(merged);
    }
}

}  // namespace avi
