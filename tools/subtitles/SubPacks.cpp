#include "SubPacks.h"

#include <algorithm>

#include "Bytes.h"
#include "SpuAssembler.h"

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

int64_t ReadPts(const Bytes& b, size_t at) {
    return int64_t((b.U8(at) >> 1) & 7) << 30 | int64_t(b.U8(at + 1)) << 22 |
           int64_t(b.U8(at + 2) >> 1) << 15 | int64_t(b.U8(at + 3)) << 7 | (b.U8(at + 4) >> 1);
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

// Where the packet at `at` ends, from its length field; 0 when that lies past the data.
size_t PacketEnd(const Bytes& b, size_t at) {
    if (!b.Has(at, 6)) return 0;
    const size_t end = at + 6 + b.U16(at + 4);
    return end <= b.Size() ? end : 0;
}

// The piece of `stream` in the private-stream-1 packet at `at`, appended to `unit`; the time
// stamp goes to `pts` when this is the first piece. False when the packet is malformed.
bool TakePiece(const Bytes& b, size_t at, size_t end, uint8_t stream, ReadUnit& unit, bool& ours) {
    if (!b.Has(at, kPesFixed) || (b.U8(at + 6) & 0xC0) != 0x80) return false;
    const size_t payload = at + kPesFixed + b.U8(at + 8);
    if (payload >= end) return false;
    ours = b.U8(payload) == 0x20 + stream;
    if (!ours) return true;
    const bool timed = (b.U8(at + 7) & 0x80) && b.U8(at + 8) >= kPtsBytes;
    // A unit starts with the one piece that carries a time stamp.
    if (unit.bytes.empty() != timed) return false;
    if (unit.bytes.empty()) unit.pts = ReadPts(b, at + kPesFixed);
    unit.bytes.insert(unit.bytes.end(), b.At(payload + 1), b.At(end));
    return true;
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

std::optional<ReadUnit> ReadUnitAt(const std::string& sub, uint64_t pos, uint8_t stream,
                                   std::string& problem) {
    const Bytes b(sub);
    ReadUnit unit;
    size_t at = pos < b.Size() ? size_t(pos) : b.Size();
    const size_t limit = std::min(b.Size(), at + kScanLimit);
    problem = "the data ends before the subpicture does";
    while (b.Has(at, 4) && at < limit) {
        if (b.U16(at) != 0 || b.U8(at + 2) != 1) {
            problem = "no pack starts at offset " + std::to_string(at);
            return std::nullopt;
        }
        const uint8_t code = b.U8(at + 3);
        if (code == 0xB9) break;  // program end
        if (code == 0xBA) {       // pack header, MPEG-2 only
            if (!b.Has(at, kPackHeader) || (b.U8(at + 4) & 0xC0) != 0x40) {
                problem = "no MPEG-2 pack header at offset " + std::to_string(at);
                return std::nullopt;
            }
            at += kPackHeader + (b.U8(at + 13) & 7);
            continue;
        }
        const size_t end = PacketEnd(b, at);
        if (end == 0) {
            problem = "the packet at offset " + std::to_string(at) + " runs past the end";
            return std::nullopt;
        }
        bool ours = false;
        if (code == 0xBD && !TakePiece(b, at, end, stream, unit, ours)) {
            problem = "a damaged packet at offset " + std::to_string(at);
            return std::nullopt;
        }
        at = end;
        if (ours && unit.bytes.size() >= 2 &&
            unit.bytes.size() >= (size_t(unit.bytes[0]) << 8 | unit.bytes[1])) {
            unit.bytes.resize(size_t(unit.bytes[0]) << 8 | unit.bytes[1]);
            if (PlausibleUnit(unit.bytes)) return unit;
            problem = "the subpicture at offset " + std::to_string(pos) + " is damaged";
            return std::nullopt;
        }
    }
    return std::nullopt;
}

}  // namespace subtitles
