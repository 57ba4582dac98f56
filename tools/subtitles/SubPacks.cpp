#include "SubPacks.h"

#include <algorithm>

#include "SpuAssembler.h"
#include "media/StreamKind.h"

namespace subtitles {
namespace {

constexpr uint32_t kMuxRate = 25200;  // DVD rate, in units of 50 bytes a second
constexpr size_t kPackHeader = 14;
constexpr size_t kPesFixed = 9;  // start code, length, two flag bytes, header length
constexpr size_t kPtsBytes = 5;
// A unit is at most 64 KiB; other streams' packs may lie between its pieces, but not this many.
constexpr size_t kScanLimit = 1 << 20;

void PackHeader(std::string& out, int64_t scr) {
    const uint64_t b = uint64_t(scr) & 0x1FFFFFFFFULL;
    const uint8_t h[kPackHeader] = {0x00,
                                    0x00,
                                    0x01,
                                    0xBA,
                                    uint8_t(0x44 | ((b >> 27) & 0x38) | ((b >> 28) & 0x03)),
                                    uint8_t(b >> 20),
                                    uint8_t(((b >> 12) & 0xF8) | 0x04 | ((b >> 13) & 0x03)),
                                    uint8_t(b >> 5),
                                    uint8_t(((b << 3) & 0xF8) | 0x04),
                                    0x01,
                                    uint8_t(kMuxRate >> 14),
                                    uint8_t(kMuxRate >> 6),
                                    uint8_t(((kMuxRate << 2) & 0xFC) | 0x03),
                                    0xF8};
    out.append(reinterpret_cast<const char*>(h), sizeof h);
}

void Pts(std::string& out, int64_t pts) {
    const uint64_t p = uint64_t(pts) & 0x1FFFFFFFFULL;
    out += char(0x21 | ((p >> 29) & 0x0E));
    out += char(p >> 22);
    out += char(((p >> 14) & 0xFE) | 1);
    out += char(p >> 7);
    out += char(((p << 1) & 0xFE) | 1);
}

// One pack with a piece of a unit; short pieces are filled up to the pack size with stuffing in
// the PES header (gaps too small for a packet) or a padding packet.
void AppendPack(std::string& out, uint8_t stream, int64_t pts, bool first, const uint8_t* data,
                size_t size) {
    const size_t timeBytes = first ? kPtsBytes : 0;
    const size_t gap = kPackSize - kPackHeader - kPesFixed - timeBytes - 1 - size;
    const size_t stuffing = gap < 6 ? gap : 0;
    PackHeader(out, pts);
    const size_t length = 3 + timeBytes + stuffing + 1 + size;
    out += std::string("\x00\x00\x01\xBD", 4);
    out += char(length >> 8);
    out += char(length & 0xFF);
    out += char(0x81);
    out += char(first ? 0x80 : 0x00);
    out += char(timeBytes + stuffing);
    if (first) Pts(out, pts);
    out.append(stuffing, char(0xFF));
    out += char(0x20 + stream);
    out.append(reinterpret_cast<const char*>(data), size);
    if (gap >= 6) {
        out += std::string("\x00\x00\x01\xBE", 4);
        out += char((gap - 6) >> 8);
        out += char((gap - 6) & 0xFF);
        out.append(gap - 6, char(0xFF));
    }
}

}  // namespace

void AppendUnitPacks(std::string& out, uint8_t stream, int64_t pts,
                     const std::vector<uint8_t>& unit) {
    size_t done = 0;
    do {
        const bool first = done == 0;
        const size_t room = kPackSize - kPackHeader - kPesFixed - (first ? kPtsBytes : 0) - 1;
        const size_t piece = std::min(room, unit.size() - done);
        AppendPack(out, stream, pts, first, unit.data() + done, piece);
        done += piece;
    } while (done < unit.size());
}

SubBitmaps::SubBitmaps(std::vector<uint8_t> bytes, const std::string& name)
    : source_(std::move(bytes), name),
      reader_(source_, [this](const std::string& warning) { warning_ = warning; }) {}

std::optional<ReadUnit> SubBitmaps::ReadUnitAt(uint64_t pos, uint8_t stream, std::string& problem) {
    const std::string at = "offset " + std::to_string(pos);
    if (pos >= uint64_t(source_.Size())) {
        problem = at + " lies past the end of the data";
        return std::nullopt;
    }
    reader_.Seek(int64_t(pos));
    warning_.clear();
    ReadUnit unit;
    bool first = true;
    for (media::PesPacket p; reader_.Next(p);) {
        if (first && (p.afterDamage || p.packOffset < int64_t(pos))) {
            problem = "no pack starts at " + at;
            return std::nullopt;
        }
        first = false;
        if (p.afterDamage || p.offset - int64_t(pos) > int64_t(kScanLimit)) break;
        if (media::KindOf(p) != media::StreamKind::Subpicture || media::StreamNumberOf(p) != stream)
            continue;
        // A unit starts with the one piece that carries a time stamp.
        if ((unit.pts < 0) != (p.pts >= 0)) {
            problem = "a damaged packet at offset " + std::to_string(p.offset);
            return std::nullopt;
        }
        if (unit.pts < 0) unit.pts = p.pts;
        unit.bytes.insert(unit.bytes.end(), p.data, p.data + p.size);
        if (unit.bytes.size() < 2) continue;
        const size_t size = size_t(unit.bytes[0]) << 8 | unit.bytes[1];
        if (unit.bytes.size() < size) continue;
        unit.bytes.resize(size);
        if (PlausibleUnit(unit.bytes)) return unit;
        problem = "the subpicture at " + at + " is damaged";
        return std::nullopt;
    }
    problem = warning_.empty() ? "no whole subpicture follows " + at : warning_;
    return std::nullopt;
}

}  // namespace subtitles
