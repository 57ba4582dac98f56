#pragma once
// The MPEG program stream of a title read pack by pack: pack headers (MPEG-2 and MPEG-1),
// PES packets with their time stamps, private stream 1 with its sub-stream byte. Damage is
// skipped: bytes that are not a pack or a packet are passed over up to the next valid pack
// header (a scan of at most kResyncLimit bytes), each time with a warning that says where and
// how much.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "media/ByteSource.h"
#include "media/MediaError.h"

namespace media {

inline constexpr int64_t kNoTimestamp = -1;
inline constexpr uint8_t kPrivateStream1 = 0xBD;
inline constexpr uint8_t kPrivateStream2 = 0xBF;  // the navigation packets of a DVD

struct PesPacket {
    uint8_t streamId = 0;        // 0xBD, 0xBF, 0xC0-0xDF (MPEG audio), 0xE0-0xEF (video), ...
    int subId = -1;              // private stream 1: its first payload byte; -1 for other streams
    int64_t pts = kNoTimestamp;  // 90 kHz, 33 bits
    int64_t dts = kNoTimestamp;
    int64_t packOffset = -1;  // stream offset of the pack header before the packet (-1: none)
    int64_t offset = 0;       // stream offset of the packet's start code
    // The payload (for private stream 1 the bytes after the sub-stream byte); valid until the
    // next call of Next() or Seek().
    const uint8_t* data = nullptr;
    size_t size = 0;
    int64_t dataOffset = 0;    // stream offset of data[0]
    bool afterDamage = false;  // bytes were skipped since the packet before
};

class PackReader {
  public:
    static constexpr int64_t kResyncLimit = 16 << 20;

    PackReader(ByteSource& source, WarningSink warn);

    // The next packet with a payload (padding packets and system headers are passed over);
    // false at the end of the stream. MediaError only when the source cannot be read.
    bool Next(PesPacket& packet);
    // Goes on from `offset`, which should be a pack header found before (e.g. a recorded
    // PesPacket::packOffset); anything else is resynchronised like damage.
    void Seek(int64_t offset);
    // Stream offset of the first byte not yet parsed.
    int64_t Offset() const { return bufferOffset_ + static_cast<int64_t>(pos_); }
    int64_t Size() const { return source_.Size(); }

  private:
    bool Ensure(size_t bytes);
    bool PackHeader();
    bool ParsePes(const uint8_t* p, size_t length, int64_t at, PesPacket& out) const;
    bool Resync();
    void CutShort();

    ByteSource& source_;
    WarningSink warn_;
    std::vector<uint8_t> buffer_;
    size_t pos_ = 0, end_ = 0;
    int64_t bufferOffset_ = 0;  // stream offset of buffer_[0]
    int64_t packOffset_ = -1;
    bool damaged_ = false;
    bool ended_ = false;
};

// The 33-bit time stamp of a PES header field (5 bytes).
int64_t ReadTimestamp(const uint8_t* p);
// The length of a valid pack header at p (n bytes available), 0 when there is none.
size_t PackHeaderLength(const uint8_t* p, size_t n);

}  // namespace media
