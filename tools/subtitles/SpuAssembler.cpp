#include "SpuAssembler.h"

namespace subtitles {
namespace {

std::string StreamName(uint8_t stream) {
    return "subpicture stream " + std::to_string(stream);
}

}  // namespace

bool PlausibleUnit(const std::vector<uint8_t>& unit) {
    if (unit.size() < 4) return false;
    const size_t size = size_t(unit[0]) << 8 | unit[1];
    const size_t control = size_t(unit[2]) << 8 | unit[3];
    return size == unit.size() && control >= 4 && control + 4 <= size;
}

std::optional<SubpictureUnit> SpuAssembler::Add(const SubpicturePacket& packet,
                                                std::vector<std::string>& warnings) {
    if (packet.stream >= partial_.size()) return std::nullopt;
    std::optional<Partial>& partial = partial_[packet.stream];
    if (packet.pts >= 0) {
        if (partial)
            warnings.push_back(StreamName(packet.stream) +
                               ": a subpicture was cut short by the next one and is dropped");
        partial.reset();
        if (packet.payload.size() < 2) {
            warnings.push_back(StreamName(packet.stream) + ": an empty subpicture is dropped");
            return std::nullopt;
        }
        partial = Partial{packet.pts, size_t(packet.payload[0]) << 8 | packet.payload[1], {}};
    } else if (!partial) {
        warnings.push_back(StreamName(packet.stream) +
                           ": a packet that continues no subpicture is skipped");
        return std::nullopt;
    }
    partial->bytes.insert(partial->bytes.end(), packet.payload.begin(), packet.payload.end());
    if (partial->bytes.size() < partial->size) return std::nullopt;
    SubpictureUnit unit{packet.stream, partial->pts, std::move(partial->bytes)};
    unit.bytes.resize(partial->size);  // the rest of the last packet is padding
    partial.reset();
    if (!PlausibleUnit(unit.bytes)) {
        warnings.push_back(StreamName(packet.stream) + ": a damaged subpicture is dropped");
        return std::nullopt;
    }
    return unit;
}

void SpuAssembler::Flush(std::vector<std::string>& warnings) {
    for (size_t s = 0; s < partial_.size(); ++s) {
        if (partial_[s])
            warnings.push_back(StreamName(uint8_t(s)) +
                               ": an unfinished subpicture at the end of a cell is dropped");
        partial_[s].reset();
    }
}

}  // namespace subtitles
