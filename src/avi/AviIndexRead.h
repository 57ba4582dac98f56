#pragma once
// Reading the index entries once the structure scan has found where they are.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "avi/AviFileReader.h"
#include "avi/AviIndex.h"
#include "avi/AviStructure.h"

namespace avi {

// More entries than any film has (a three-hour film with two audio tracks has under two million);
// a count above it is damage, not a film, and would only exhaust memory.
inline constexpr uint64_t kMaxIndexEntries = 64u << 20;

// The "idx1" entries, in the order stored. Throws TAviFormatError when an entry cannot be read or
// names a chunk larger than the file.
void ReadIdx1Index(TAviFileReader& file, const TAviStructure& s, TMyIndex& index);

// The entries of every standard index the super index points to, in file order. Throws
// TAviFormatError when a standard index lies outside the file, claims more entries than its chunk
// holds, is listed twice, or has an entry pointing past the end of the file.
void ReadOpenDmlIndex(TAviFileReader& file, const TAviStructure& s, TMyIndex& index);

// Sorts `index` by ascending Offset, keeping the order of equal offsets. [runStarts[k],
// runStarts[k+1]) (the last up to the end) are runs that are usually sorted already: they are
// merged pairwise, which costs n log(runs) rather than a full sort.
void MergeRuns(TMyIndex& index, std::vector<size_t> runStarts);

}  // namespace avi
