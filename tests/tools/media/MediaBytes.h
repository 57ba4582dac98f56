#pragma once
// Program streams and video elementary streams built byte by byte for the reader's tests.
#include <cstdint>
#include <vector>

namespace media_test {

using Bytes = std::vector<uint8_t>;

inline void Append(Bytes& to, const Bytes& more) {
    to.insert(to.end(), more.begin(), more.end());
}

inline Bytes Timestamp(uint8_t prefix, int64_t t) {
    return {static_cast<uint8_t>(prefix | ((t >> 29) & 0x0E) | 1), static_cast<uint8_t>(t >> 22),
            static_cast<uint8_t>(((t >> 14) & 0xFE) | 1), static_cast<uint8_t>(t >> 7),
            static_cast<uint8_t>(((t << 1) & 0xFE) | 1)};
}

// An MPEG-2 pack header (clock 0, no stuffing) and one PES packet after it.
inline Bytes Pack(uint8_t streamId, const Bytes& payload, int64_t pts = -1, int subId = -1) {
    Bytes b = {0, 0, 1, 0xBA, 0x44, 0, 4, 0, 4, 1, 0x01, 0x89, 0xC3, 0xF8};
    Bytes header = {0x81, static_cast<uint8_t>(pts >= 0 ? 0x80 : 0), 0};
    if (pts >= 0) Append(header, Timestamp(0x20, pts));
    header[2] = static_cast<uint8_t>(header.size() - 3);
    if (subId >= 0) header.push_back(static_cast<uint8_t>(subId));
    const size_t length = header.size() + payload.size();
    Append(b, {0, 0, 1, streamId, static_cast<uint8_t>(length >> 8), static_cast<uint8_t>(length)});
    Append(b, header);
    Append(b, payload);
    return b;
}

// Video elementary stream headers: 720x480, 4:3, 30000/1001.
inline Bytes SequenceHeader() {
    return {0, 0, 1, 0xB3, 0x2D, 0x01, 0xE0, 0x24, 0xFF, 0xFF, 0xE0, 0x18};
}
inline Bytes SequenceExtension() {
    return {0, 0, 1, 0xB5, 0x14, 0x82, 0x00, 0x01, 0x00, 0x00};
}
inline Bytes Gop(bool closed) {
    return {0, 0, 1, 0xB8, 0x00, 0x08, 0x00, static_cast<uint8_t>(closed ? 0x40 : 0x00)};
}
// A picture header and its coding extension, then a few slice bytes. structure: 1 top field,
// 2 bottom field, 3 frame.
inline Bytes Picture(int type, int structure, bool tff, bool rff, bool progressive) {
    Bytes b = {0, 0, 1, 0x00, 0x00, static_cast<uint8_t>(type << 3), 0xFF, 0xF8};
    Append(b, {0, 0, 1, 0xB5, 0x8F, 0xFF, static_cast<uint8_t>(0xF0 | structure),
               static_cast<uint8_t>((tff ? 0x80 : 0) | (rff ? 0x02 : 0)),
               static_cast<uint8_t>(progressive ? 0x80 : 0)});
    Append(b, {0, 0, 1, 0x01, 0x12, 0x00, 0x34, 0x00, 0x00, 0x02, 0x56});
    return b;
}

}  // namespace media_test
