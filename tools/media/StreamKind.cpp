#include "media/StreamKind.h"

namespace media {

StreamKind KindOf(const PesPacket& packet) {
    const int id = packet.streamId;
    if (id >= 0xE0 && id <= 0xEF) return StreamKind::Video;
    if (id >= 0xC0 && id <= 0xDF) return StreamKind::MpegAudio;
    if (id == kPrivateStream2) return StreamKind::Navigation;
    if (id != kPrivateStream1) return StreamKind::Other;
    const int sub = packet.subId;
    if (sub >= 0x20 && sub <= 0x3F) return StreamKind::Subpicture;
    if (sub >= 0x80 && sub <= 0x87) return StreamKind::Ac3;
    if (sub >= 0x88 && sub <= 0x8F) return StreamKind::Dts;
    if (sub >= 0xA0 && sub <= 0xA7) return StreamKind::Lpcm;
    return StreamKind::Other;
}

int StreamNumberOf(const PesPacket& packet) {
    switch (KindOf(packet)) {
        case StreamKind::Video:
            return packet.streamId & 0x0F;
        case StreamKind::MpegAudio:
            return packet.streamId & 0x1F;
        case StreamKind::Subpicture:
            return packet.subId & 0x1F;
        case StreamKind::Ac3:
        case StreamKind::Dts:
        case StreamKind::Lpcm:
            return packet.subId & 0x07;
        default:
            return -1;
    }
}

}  // namespace media
