#pragma once
// The walk over an AVI file's RIFF structure: where the chunks start, where the "idx1" index
// lies, the main header, the OpenDML markers and the super index entries. The index entries
// themselves are read afterwards (AviIndexRead.h).
#include <array>
#include <cstdint>

#include "avi/AviFileReader.h"
#include "avi/AviIndex.h"

namespace avi {

inline constexpr size_t kMainHeaderSize = 56;

struct TAviStructure {
    int64_t FileSize = 0;
    int64_t MoviStart = 0;   // just after the list type of the first "movi" list; 0 until found
    int64_t Idx1Start = 0;   // first "idx1" entry
    uint32_t Idx1Count = 0;  // 16-byte entries of the "idx1" chunk; 0 when there is none
    std::array<uint8_t, kMainHeaderSize> MainHeader{};  // "avih" data, zero-filled when shorter
    uint32_t OdmlTotalFrames = 0;
    bool IsOpenDml = false;
    bool HasAviRiff = false;              // a RIFF of type "AVI " was seen
    TAviSuperIndexEntryArray SuperIndex;  // of all streams, in the order read

    uint32_t MainTotalFrames() const;  // bytes 16-19 of the main header
};

// Fills `out` from the open file. Throws TAviFormatError when a size points past the end of the
// file or of the list that holds it, when lists nest implausibly deep, or when a count claims more
// entries than its chunk holds. Codes the walk does not know end it quietly, as a reader of
// files from many writers must.
void ScanAviStructure(TAviFileReader& file, TAviStructure& out);

}  // namespace avi
