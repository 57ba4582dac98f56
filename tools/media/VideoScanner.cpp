#include "media/VideoScanner.h"

#include <algorithm>
#include <cstring>

namespace media {

VideoScanner::Origin VideoScanner::At(const PesPacket& packet, size_t index) const {
    Origin o;
    o.place = {packet.packOffset, packet.offset, static_cast<uint32_t>(index), packet.afterDamage};
    o.pts = packet.pts;
    o.packet = packets_;
    return o;
}

void VideoScanner::Feed(const PesPacket& packet, std::vector<VideoHeader>& out) {
    ++packets_;
    const uint8_t* p = packet.data;
    const size_t n = packet.size;
    if (packet.afterDamage) {  // nothing is glued together across skipped bytes
        VideoHeader damage;
        damage.kind = VideoHeader::Kind::Damage;
        damage.place = At(packet, 0).place;
        out.push_back(damage);
        zeros_ = 0;
        codeNext_ = false;
        pendingHave_ = pendingNeed_ = 0;
    }
    if (n == 0) return;
    if (pendingNeed_ > pendingHave_) {
        const size_t take = std::min(n, pendingNeed_ - pendingHave_);
        std::memcpy(pending_.data() + pendingHave_, p, take);
        pendingHave_ += take;
        if (pendingHave_ == pendingNeed_) {
            Parse(pendingAt_, pending_.data(), pendingHave_, out);
            pendingHave_ = pendingNeed_ = 0;
        }
    }
    if (codeNext_) {
        codeNext_ = false;
        StartCode(codeAt_, p, n, out);
    }
    for (size_t from = 0; from < n;) {
        const void* hit = std::memchr(p + from, 0x01, n - from);
        if (!hit) break;
        const size_t j = static_cast<size_t>(static_cast<const uint8_t*>(hit) - p);
        from = j + 1;
        bool prefix;
        Origin first;
        if (j >= 2) {
            prefix = p[j - 1] == 0 && p[j - 2] == 0;
            if (prefix) first = At(packet, j - 2);
        } else if (j == 1) {
            prefix = p[0] == 0 && zeros_ >= 1;
            first = zeroAt_[1];
        } else {
            prefix = zeros_ >= 2;
            first = zeroAt_[0];
        }
        if (!prefix) continue;
        if (j + 1 < n) {
            StartCode(first, p + j + 1, n - j - 1, out);
        } else {
            codeNext_ = true;
            codeAt_ = first;
        }
    }
    KeepTrailingZeros(packet);
}

void VideoScanner::KeepTrailingZeros(const PesPacket& packet) {
    const uint8_t* p = packet.data;
    const size_t n = packet.size;
    if (p[n - 1] != 0) {
        zeros_ = 0;
        return;
    }
    if (n >= 2 && p[n - 2] == 0) {
        zeroAt_[0] = At(packet, n - 2);
        zeros_ = 2;
    } else if (n == 1 && zeros_ >= 1) {
        zeroAt_[0] = zeroAt_[1];
        zeros_ = 2;
    } else {
        zeros_ = 1;
    }
    zeroAt_[1] = At(packet, n - 1);
}

void VideoScanner::StartCode(const Origin& at, const uint8_t* p, size_t n,
                             std::vector<VideoHeader>& out) {
    const uint8_t code = p[0];
    if (code != start_code::kPicture && code != start_code::kSequence &&
        code != start_code::kExtension && code != start_code::kSequenceEnd &&
        code != start_code::kGop)
        return;
    const size_t need = 1 + HeaderBytes(code);
    if (n >= need) {
        Parse(at, p, need, out);
        return;
    }
    std::memcpy(pending_.data(), p, n);
    pendingHave_ = n;
    pendingNeed_ = need;
    pendingAt_ = at;
}

void VideoScanner::Parse(const Origin& at, const uint8_t* p, size_t n,
                         std::vector<VideoHeader>& out) {
    VideoHeader h;
    h.place = at.place;
    const uint8_t* body = p + 1;
    const size_t size = n - 1;
    using Kind = VideoHeader::Kind;
    switch (p[0]) {
        case start_code::kPicture: {
            const auto picture = ParsePictureHeader(body, size);
            if (!picture) return;
            h.kind = Kind::Picture;
            h.picture = *picture;
            if (at.pts != kNoTimestamp && at.packet != ptsTaken_) {
                h.pts = at.pts;
                ptsTaken_ = at.packet;
            }
            break;
        }
        case start_code::kSequence: {
            const auto sequence = ParseSequenceHeader(body, size);
            if (!sequence) return;
            h.kind = Kind::Sequence;
            h.sequence = *sequence;
            break;
        }
        case start_code::kExtension:
            if (const auto e = ParseSequenceExtension(body, size)) {
                h.kind = Kind::SequenceExtension;
                h.sequenceExtension = *e;
            } else if (const auto c = ParsePictureCodingExtension(body, size)) {
                h.kind = Kind::PictureCodingExtension;
                h.coding = *c;
            } else {
                return;
            }
            break;
        case start_code::kGop: {
            const auto gop = ParseGopHeader(body, size);
            if (!gop) return;
            h.kind = Kind::Gop;
            h.gop = *gop;
            break;
        }
        case start_code::kSequenceEnd:
            h.kind = Kind::End;
            break;
        default:
            return;
    }
    out.push_back(h);
}

}  // namespace media
