#pragma once
// Joins the PES packets of a subpicture stream into whole subpicture units. A unit starts with a
// packet that carries a time stamp; its first two bytes give its size, and the packets that
// follow without a time stamp carry the rest.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "SubpictureSource.h"

namespace subtitles {

struct SubpictureUnit {
    uint8_t stream = 0;
    int64_t pts = 0;  // 90 kHz
    std::vector<uint8_t> bytes;
};

// True when `unit` is a subpicture unit whose size field and control-sequence offset fit it.
bool PlausibleUnit(const std::vector<uint8_t>& unit);

class SpuAssembler {
  public:
    // Adds one packet; returns the unit it completes, if any. Damage (a packet continuing no
    // unit, a unit cut short by the next, a unit whose sizes do not fit) drops the bytes
    // concerned and appends a warning.
    std::optional<SubpictureUnit> Add(const SubpicturePacket& packet,
                                      std::vector<std::string>& warnings);
    // Drops unfinished units (at the end of a cell), with a warning for each.
    void Flush(std::vector<std::string>& warnings);

  private:
    struct Partial {
        int64_t pts = 0;
        size_t size = 0;
        std::vector<uint8_t> bytes;
    };
    std::array<std::optional<Partial>, 32> partial_;
};

}  // namespace subtitles
