// Decodes the parts of a title set's IFO file that the extractor needs. Every count and offset is
// checked against the file before it is used, since the file may be damaged or not an IFO at all.
#include "IfoTitle.h"

#include <stdexcept>

#include "Bytes.h"

namespace subtitles {
namespace {

constexpr size_t kSector = 2048;
constexpr size_t kMaxSubpictureStreams = 32;
constexpr size_t kCellEntry = 24;

std::runtime_error Damaged(const std::string& name, const std::string& what) {
    return std::runtime_error(name + ": " + what);
}

int Bcd(uint8_t byte, const std::string& name) {
    if ((byte >> 4) > 9 || (byte & 0x0F) > 9)
        throw Damaged(name, "a playback time holds a digit that is not decimal");
    return (byte >> 4) * 10 + (byte & 0x0F);
}

// Hours, minutes and seconds in binary-coded decimal, then the frame rate (top two bits: 11 for
// 30 frames a second, otherwise 25) and the frames.
uint32_t PlaybackMs(const Bytes& b, size_t at, const std::string& name) {
    const int rate = (b.U8(at + 3) >> 6) == 3 ? 30 : 25;
    const int frames = Bcd(b.U8(at + 3) & 0x3F, name);
    const uint32_t seconds = uint32_t(Bcd(b.U8(at), name)) * 3600 + Bcd(b.U8(at + 1), name) * 60 +
                             Bcd(b.U8(at + 2), name);
    return seconds * 1000 + uint32_t((frames * 1000 + rate / 2) / rate);
}

void ReadPictureSize(const Bytes& b, IfoTitle& title) {
    const uint16_t video = b.U16(0x200);
    const bool ntsc = ((video >> 12) & 3) == 0;
    static constexpr int kWidths[] = {720, 704, 352, 352};
    const int size = (video >> 2) & 3;
    title.width = kWidths[size];
    title.height = (ntsc ? 480 : 576) / (size == 3 ? 2 : 1);
}

void ReadLanguages(const Bytes& b, IfoTitle& title, const std::string& name) {
    const size_t count = b.U16(0x254);
    if (count > kMaxSubpictureStreams)
        throw Damaged(name, "it lists " + std::to_string(count) +
                                " subpicture streams, more than a title set can hold");
    for (size_t j = 0; j < count; ++j) {
        const size_t at = 0x256 + 6 * j;
        b.Need(at, 6, name, "subpicture stream attributes");
        std::string code;
        for (size_t k = 2; k < 4; ++k)
            if (b.U8(at + k) >= 'a' && b.U8(at + k) <= 'z') code += char(b.U8(at + k));
        title.subpictureLanguages.push_back(code.size() == 2 ? code : std::string());
    }
}

void ReadCells(const Bytes& b, size_t chain, IfoChain& out, const std::string& name) {
    const size_t count = b.U8(chain + 3);
    if (count == 0) return;
    b.Need(chain + 0xE8, 4, name, "cell table offsets");
    const size_t playback = chain + b.U16(chain + 0xE8);
    const size_t position = chain + b.U16(chain + 0xEA);
    b.Need(playback, count * kCellEntry, name, "cell playback table");
    b.Need(position, count * 4, name, "cell position table");
    for (size_t i = 0; i < count; ++i) {
        const size_t at = playback + i * kCellEntry;
        IfoCell cell;
        cell.blockMode = b.U8(at) >> 6;
        cell.blockType = (b.U8(at) >> 4) & 3;
        cell.playbackMs = PlaybackMs(b, at + 4, name);
        cell.firstSector = b.U32(at + 8);
        cell.lastSector = b.U32(at + 20);
        if (cell.lastSector < cell.firstSector)
            throw Damaged(name, "cell " + std::to_string(i + 1) + " ends before it starts");
        cell.vobId = b.U16(position + 4 * i);
        cell.cellId = b.U8(position + 4 * i + 3);
        out.cells.push_back(cell);
    }
}

IfoChain ReadChain(const Bytes& b, size_t at, const std::string& name) {
    b.Need(at, 0xEC, name, "program chain");
    IfoChain chain;
    for (size_t s = 0; s < chain.subpictureControl.size(); ++s)
        chain.subpictureControl[s] = b.U32(at + 0x1C + 4 * s);
    for (size_t i = 0; i < chain.palette.size(); ++i) chain.palette[i] = b.U32(at + 0xA4 + 4 * i);
    ReadCells(b, at, chain, name);
    return chain;
}

}  // namespace

IfoTitle ParseIfoTitle(const std::string& bytes, const std::string& name) {
    const Bytes b(bytes);
    if (!b.Has(0, 12) || bytes.compare(0, 12, "DVDVIDEO-VTS") != 0)
        throw Damaged(name, "not the IFO file of a title set");
    b.Need(0x256, 0, name, "stream attributes");
    IfoTitle title;
    ReadPictureSize(b, title);
    ReadLanguages(b, title, name);
    b.Need(0xCC, 4, name, "program chain table's sector");
    const size_t table = size_t(b.U32(0xCC)) * kSector;
    b.Need(table, 8, name, "program chain table");
    const size_t count = b.U16(table);
    b.Need(table + 8, count * 8, name, "program chain list");
    for (size_t k = 0; k < count; ++k)
        title.chains.push_back(ReadChain(b, table + b.U32(table + 8 + 8 * k + 4), name));
    return title;
}

}  // namespace subtitles
