#pragma once
// The navigation packets of a DVD title (private stream 2, one pair at the start of every video
// object unit, VOBU): the unit's presentation time span from the first (PCI) packet, and the VOB
// and cell it belongs to from the second (DSI) packet. The cells of an angle block lie
// interleaved in the same sectors, and these ids are what tells them apart.
#include <cstdint>
#include <optional>

#include "media/PackReader.h"

namespace media {

// DVD sectors; the title's cells are addressed in them from the start of VTS_xx_1.VOB.
inline constexpr int64_t kSectorSize = 2048;

struct NavTimes {
    int64_t vobuStart = kNoTimestamp;  // 90 kHz: the first picture of the unit is shown
    int64_t vobuEnd = kNoTimestamp;    // and the unit's last one ends
};

struct NavIds {
    uint16_t vobId = 0;
    uint8_t cellId = 0;
};

// The fields of a PCI or a DSI packet; nullopt for any other packet, or one too short to hold
// them.
std::optional<NavTimes> NavTimesOf(const PesPacket& packet);
std::optional<NavIds> NavIdsOf(const PesPacket& packet);

}  // namespace media
