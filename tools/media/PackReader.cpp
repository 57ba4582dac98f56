#include "media/PackReader.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace media {
namespace {

// Reads of a megabyte; a small stream gets no more than the largest packet needs.
constexpr size_t kBufferSize = 1 << 20;
constexpr size_t kSmallBufferSize = 128 << 10;
constexpr size_t kMaxPackHeader = 14 + 7;

bool IsStartCode(const uint8_t* p) {
    return p[0] == 0 && p[1] == 0 && p[2] == 1;
}

// The index of the first valid pack header that lies wholly in p[0, n), or n when none does.
// A header whose start is within the last kMaxPackHeader bytes is not looked at.
size_t FindPackHeader(const uint8_t* p, size_t n) {
    if (n < kMaxPackHeader) return n;
    const size_t last = n - kMaxPackHeader;  // the last start looked at
    size_t i = 0;
    while (i <= last) {
        const void* one = std::memchr(p + i + 2, 0x01, last - i + 1);
        if (!one) return n;
        const size_t c = static_cast<size_t>(static_cast<const uint8_t*>(one) - p) - 2;
        if (p[c] == 0 && p[c + 1] == 0 && p[c + 3] == 0xBA && PackHeaderLength(p + c, n - c))
            return c;
        i = c + 1;
    }
    return n;
}

}  // namespace

int64_t ReadTimestamp(const uint8_t* p) {
    return (static_cast<int64_t>((p[0] >> 1) & 7) << 30) | (static_cast<int64_t>(p[1]) << 22) |
           (static_cast<int64_t>(p[2] >> 1) << 15) | (static_cast<int64_t>(p[3]) << 7) |
           (p[4] >> 1);
}

size_t PackHeaderLength(const uint8_t* p, size_t n) {
    if (n < 12 || !IsStartCode(p) || p[3] != 0xBA) return 0;
    if ((p[4] & 0xC4) == 0x44) {  // MPEG-2: marker bits around the clock and the mux rate
        if (n < 14 || !(p[6] & 4) || !(p[8] & 4) || !(p[9] & 1) || (p[12] & 3) != 3) return 0;
        const size_t length = 14 + (p[13] & 7);
        return length <= n ? length : 0;
    }
    if ((p[4] & 0xF1) == 0x21 && (p[6] & 1) && (p[8] & 1) && (p[9] & 0x80) && (p[11] & 1))
        return 12;  // MPEG-1
    return 0;
}

PackReader::PackReader(ByteSource& source, WarningSink warn)
    : source_(source),
      warn_(std::move(warn)),
      buffer_(source.Size() < static_cast<int64_t>(kBufferSize) ? kSmallBufferSize : kBufferSize) {
    source_.Seek(0);
}

void PackReader::Seek(int64_t offset) {
    source_.Seek(offset);
    bufferOffset_ = offset;
    pos_ = end_ = 0;
    packOffset_ = -1;
    damaged_ = ended_ = false;
}

bool PackReader::Ensure(size_t bytes) {
    if (end_ - pos_ >= bytes) return true;
    if (ended_) return false;
    std::memmove(buffer_.data(), buffer_.data() + pos_, end_ - pos_);
    bufferOffset_ += static_cast<int64_t>(pos_);
    end_ -= pos_;
    pos_ = 0;
    while (end_ < bytes) {
        const size_t got = source_.Read(buffer_.data() + end_, buffer_.size() - end_);
        if (got == 0) {
            ended_ = true;
            return false;
        }
        end_ += got;
    }
    return true;
}

void PackReader::CutShort() {
    warn_("The stream is cut short: the last " + std::to_string(end_ - pos_) + " bytes, from " +
          source_.Describe(Offset()) + ", are not a whole pack or packet.");
    pos_ = end_;
}

// Skips to the next valid pack header after the byte at pos_.
bool PackReader::Resync() {
    const int64_t from = Offset();
    ++pos_;
    for (;;) {
        Ensure(kMaxPackHeader);
        // The scan never looks further than the limit, wherever the buffer ends.
        const int64_t left = kResyncLimit - (Offset() - from);
        const size_t n = std::min<size_t>(
            end_ - pos_, static_cast<size_t>(std::max<int64_t>(left, 0)) + kMaxPackHeader);
        const size_t found = FindPackHeader(buffer_.data() + pos_, n);
        if (found < n) {
            pos_ += found;
            damaged_ = true;
            warn_("Skipped " + std::to_string(Offset() - from) +
                  " bytes that are not a pack, from " + source_.Describe(from) + ".");
            return true;
        }
        if (ended_ && end_ - pos_ <= kMaxPackHeader) {
            warn_("Skipped the last " +
                  std::to_string(Offset() + static_cast<int64_t>(end_ - pos_) - from) +
                  " bytes, from " + source_.Describe(from) + ": they hold no pack.");
            pos_ = end_;
            return false;
        }
        pos_ += n - kMaxPackHeader + 1;  // keep what a header starting there would need
        if (Offset() - from > kResyncLimit) {
            warn_("No pack header within " + std::to_string(kResyncLimit >> 20) + " MiB after " +
                  source_.Describe(from) + ": the rest of the stream is not read.");
            pos_ = end_;
            source_.Seek(source_.Size());
            ended_ = true;
            return false;
        }
    }
}

// At a pack start code: passes the header over, or resynchronises when it is not valid.
bool PackReader::PackHeader() {
    Ensure(kMaxPackHeader);  // fewer only at the end
    const size_t length = PackHeaderLength(buffer_.data() + pos_, end_ - pos_);
    if (length == 0) {
        if (ended_ && end_ - pos_ < kMaxPackHeader) {
            CutShort();
            return false;
        }
        return Resync();
    }
    packOffset_ = Offset();
    pos_ += length;
    return true;
}

bool PackReader::Next(PesPacket& packet) {
    for (;;) {
        if (!Ensure(4)) {
            if (end_ > pos_) CutShort();
            return false;
        }
        const uint8_t* p = buffer_.data() + pos_;
        if (!IsStartCode(p) || p[3] < 0xB9) {
            if (!Resync()) return false;
            continue;
        }
        if (p[3] == 0xB9) {  // program end
            pos_ += 4;
            continue;
        }
        if (p[3] == 0xBA) {
            if (!PackHeader()) return false;
            continue;
        }
        if (!Ensure(6)) {
            CutShort();
            return false;
        }
        p = buffer_.data() + pos_;
        const size_t length = 6 + (static_cast<size_t>(p[4]) << 8 | p[5]);
        if (!Ensure(length)) {
            CutShort();
            return false;
        }
        p = buffer_.data() + pos_;
        const int64_t at = Offset();
        pos_ += length;
        if (p[3] == 0xBB || p[3] == 0xBE) continue;  // system header, padding
        if (!ParsePes(p, length, at, packet)) {
            warn_("Skipped a packet with a damaged header at " + source_.Describe(at) + ".");
            damaged_ = true;
            continue;
        }
        packet.afterDamage = damaged_;
        damaged_ = false;
        return true;
    }
}

bool PackReader::ParsePes(const uint8_t* p, size_t length, int64_t at, PesPacket& out) const {
    out = PesPacket{};
    out.streamId = p[3];
    out.offset = at;
    out.packOffset = packOffset_;
    size_t h = 6;
    if (out.streamId != kPrivateStream2 && length > 6 && (p[6] & 0xC0) == 0x80) {  // MPEG-2
        if (length < 9) return false;
        const uint8_t flags = p[7], headerLength = p[8];
        h = 9 + headerLength;
        if (h > length) return false;
        if ((flags & 0x80) && headerLength >= 5) out.pts = ReadTimestamp(p + 9);
        if ((flags & 0xC0) == 0xC0 && headerLength >= 10) out.dts = ReadTimestamp(p + 14);
    } else if (out.streamId != kPrivateStream2) {  // MPEG-1: stuffing, buffer size, stamps
        while (h < length && p[h] == 0xFF && h < 6 + 16) ++h;
        if (h < length && (p[h] & 0xC0) == 0x40) h += 2;
        if (h >= length) {
            if (h > length) return false;
        } else if ((p[h] & 0xF0) == 0x20 && h + 5 <= length) {
            out.pts = ReadTimestamp(p + h);
            h += 5;
        } else if ((p[h] & 0xF0) == 0x30 && h + 10 <= length) {
            out.pts = ReadTimestamp(p + h);
            out.dts = ReadTimestamp(p + h + 5);
            h += 10;
        } else if (p[h] == 0x0F) {
            h += 1;
        } else {
            return false;
        }
    }
    if (out.streamId == kPrivateStream1) {
        if (h >= length) return false;
        out.subId = p[h++];
    }
    out.data = p + h;
    out.size = length - h;
    out.dataOffset = at + static_cast<int64_t>(h);
    return true;
}

}  // namespace media
