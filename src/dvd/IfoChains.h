#pragma once
// The program chain table of an IFO file.
#include <cstdint>

#include "dvd/IFOParser.h"
#include "dvd/IfoBytes.h"

// Decodes the table that starts at `tableOffset`; every chain gets one stream flag per audio and
// per subpicture stream of the file.
TVTS_PGCI ReadChainTable(IfoBytes& bytes, uint64_t tableOffset, uint16_t audioCount,
                         uint8_t subpictureCount);

// Ceiling on the memory the decoded chains may take. The counts are taken as stored, and chain
// pointers may all point to the same chain, so a small hostile file could otherwise declare
// 65535 chains of 255 programs and 65535 audio flags each and need gigabytes; real title sets
// need well under a megabyte.
inline constexpr uint64_t kMaxDecodedChainBytes = 32ull << 20;
