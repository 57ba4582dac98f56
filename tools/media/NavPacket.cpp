#include "media/NavPacket.h"

namespace media {
namespace {

// The first payload byte says which of the two packets it is.
constexpr uint8_t kPci = 0x00;
constexpr uint8_t kDsi = 0x01;
// Offsets in the payload, counted from that byte.
constexpr size_t kVobuStartPtm = 13;
constexpr size_t kVobuEndPtm = 17;
constexpr size_t kVobId = 25;
constexpr size_t kCellId = 28;

bool Holds(const PesPacket& packet, uint8_t kind, size_t bytes) {
    return packet.streamId == kPrivateStream2 && packet.data && packet.size >= bytes &&
           packet.data[0] == kind;
}

uint32_t U32(const uint8_t* p) {
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

}  // namespace

std::optional<NavTimes> NavTimesOf(const PesPacket& packet) {
    if (!Holds(packet, kPci, kVobuEndPtm + 4)) return std::nullopt;
    return NavTimes{U32(packet.data + kVobuStartPtm), U32(packet.data + kVobuEndPtm)};
}

std::optional<NavIds> NavIdsOf(const PesPacket& packet) {
    if (!Holds(packet, kDsi, kCellId + 1)) return std::nullopt;
    return NavIds{uint16_t(packet.data[kVobId] << 8 | packet.data[kVobId + 1]),
                  packet.data[kCellId]};
}

}  // namespace media
