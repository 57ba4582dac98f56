#include "dvd/IfoChains.h"

#include <vector>

#include "dvd/IfoTime.h"

namespace {

constexpr uint64_t kFirstSearchPointer = 8;
constexpr uint64_t kSearchPointerSize = 8;
constexpr uint64_t kAudioControl = 12;
constexpr uint64_t kSubpictureControl = 28;
constexpr uint64_t kProgramMapOffset = 0xE6;
constexpr uint64_t kCellTableOffset = 0xE8;
constexpr uint64_t kCellEntrySize = 24;
constexpr uint64_t kCellTime = 4;

// Rough memory a decoded chain takes, for the ceiling on the whole table.
uint64_t ChainCost(uint64_t programs, uint64_t streams) {
    return sizeof(TProgramChain) + streams + programs * (1 + 2 * sizeof(std::string));
}

std::string TimeTextOrFail(const IfoBytes& bytes, int64_t ms, const char* what) {
    const auto text = TimeTextOfMilliseconds(ms);
    if (!text) bytes.Fail(std::string(what) + " is 24 hours or more, which is not a playback time");
    return *text;
}

void ReadStreamFlags(const IfoBytes& bytes, uint64_t chain, uint16_t audioCount,
                     uint8_t subpictureCount, TProgramChain& pgc) {
    for (uint64_t a = 0; a < audioCount; ++a) {
        const uint16_t control =
            bytes.U16(chain + kAudioControl + 2 * a, "an audio stream control");
        pgc.AudioEnabled.push_back(control & 0x8000 ? '1' : '0');
    }
    for (uint64_t s = 0; s < subpictureCount; ++s) {
        const uint32_t control =
            bytes.U32(chain + kSubpictureControl + 4 * s, "a subpicture stream control");
        pgc.SubpictureEnabled.push_back(control & 0x80000000u ? '1' : '0');
    }
}

// Each program runs from its entry cell to the cell before the next program's entry cell (the
// last one to the chain's last cell); its cells are taken from the cell playback table one entry
// after another, so the table is read in order however the entry cells are numbered.
void ReadProgramTimes(const IfoBytes& bytes, uint64_t chain, TProgramChain& pgc) {
    const uint64_t cells = chain + bytes.U16(chain + kCellTableOffset, "the cell table offset");
    uint64_t nextEntry = 0;
    int64_t start = 0;
    for (size_t p = 0; p < pgc.EntryCells.size(); ++p) {
        const int first = pgc.EntryCells[p];
        const int last = p + 1 < pgc.EntryCells.size() ? pgc.EntryCells[p + 1] - 1 : pgc.CellCount;
        int64_t total = 0;
        for (int cell = first; cell <= last; ++cell, ++nextEntry) {
            const uint64_t entry = cells + kCellEntrySize * nextEntry + kCellTime;
            total += TotalMilliseconds(ReadPlaybackTime(bytes, entry, "a cell playback time"));
        }
        pgc.ProgramDurations.push_back(TimeTextOrFail(bytes, total, "a program's playback time"));
        pgc.ProgramStarts.push_back(TimeTextOrFail(bytes, start, "a program's start time"));
        start += total;
    }
}

TProgramChain ReadChain(const IfoBytes& bytes, uint64_t chain, uint16_t audioCount,
                        uint8_t subpictureCount) {
    TProgramChain pgc;
    pgc.ProgramCount = bytes.U8(chain + 2, "the number of programs");
    pgc.CellCount = bytes.U8(chain + 3, "the number of cells");
    const TPlaybackTime time = ReadPlaybackTime(bytes, chain + 4, "the chain's playback time");
    const auto duration = TimeText(time);
    if (!duration) bytes.Fail("the chain's playback time is not a time of day below 24 hours");
    pgc.Duration = *duration;
    ReadStreamFlags(bytes, chain, audioCount, subpictureCount, pgc);
    const uint64_t map = chain + bytes.U16(chain + kProgramMapOffset, "the program map offset");
    for (uint64_t p = 0; p < pgc.ProgramCount; ++p) {
        pgc.EntryCells.push_back(bytes.U8(map + p, "an entry cell of the program map"));
    }
    ReadProgramTimes(bytes, chain, pgc);
    return pgc;
}

// Checked before a chain is decoded, so the ceiling also bounds the time spent.
void ChargeChain(const IfoBytes& bytes, uint64_t& spent, uint64_t cost, size_t chains) {
    spent += cost;
    if (spent > kMaxDecodedChainBytes) {
        bytes.Fail("the program chain table declares more than a title set can hold (" +
                   std::to_string(chains) + " chains of up to 255 programs and " +
                   "one flag per stream each, more than " +
                   std::to_string(kMaxDecodedChainBytes >> 20) + " MiB decoded)");
    }
}

}  // namespace

TVTS_PGCI ReadChainTable(IfoBytes& bytes, uint64_t table, uint16_t audioCount,
                         uint8_t subpictureCount) {
    TVTS_PGCI pgci;
    pgci.ProgramChainCount = bytes.U16(table, "the number of program chains");
    uint64_t spent = 0;
    for (uint64_t k = 0; k < pgci.ProgramChainCount; ++k) {
        const uint64_t pointer = table + kFirstSearchPointer + kSearchPointerSize * k + 4;
        bytes.SetPlace("program chain " + std::to_string(k + 1) + " of " +
                       std::to_string(pgci.ProgramChainCount));
        const uint64_t chain = table + bytes.U32(pointer, "the offset of the chain");
        ChargeChain(bytes, spent,
                    ChainCost(bytes.U8(chain + 2, "the number of programs"),
                              uint64_t{audioCount} + subpictureCount),
                    pgci.ProgramChainCount);
        pgci.ProgramChains.push_back(ReadChain(bytes, chain, audioCount, subpictureCount));
        bytes.SetPlace("");
    }
    return pgci;
}
