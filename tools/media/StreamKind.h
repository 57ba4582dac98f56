#pragma once
// What a PES packet of a DVD program stream carries, and its stream number as the disc counts
// them: audio 0-7 whatever its coding (AC3 0x80+n, DTS 0x88+n, LPCM 0xA0+n in private stream 1,
// MPEG audio stream 0xC0+n), subpictures 0-31 (0x20+n in private stream 1), video 0-15.
#include "media/PackReader.h"

namespace media {

enum class StreamKind { Video, MpegAudio, Ac3, Dts, Lpcm, Subpicture, Navigation, Other };

StreamKind KindOf(const PesPacket& packet);
// The stream number of the packet's kind; -1 for navigation and other packets.
int StreamNumberOf(const PesPacket& packet);
inline bool IsAudio(StreamKind kind) {
    return kind == StreamKind::MpegAudio || kind == StreamKind::Ac3 || kind == StreamKind::Dts ||
           kind == StreamKind::Lpcm;
}

}  // namespace media
