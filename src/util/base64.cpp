#include "util/base64.h"

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

void AppendGroup(std::string& out, const uint8_t* p, size_t n) {
    const uint32_t v =
        uint32_t(p[0]) << 16 | (n > 1 ? uint32_t(p[1]) << 8 : 0) | (n > 2 ? uint32_t(p[2]) : 0);
    out += kAlphabet[(v >> 18) & 0x3F];
    out += kAlphabet[(v >> 12) & 0x3F];
    out += n > 1 ? kAlphabet[(v >> 6) & 0x3F] : '=';
    out += n > 2 ? kAlphabet[v & 0x3F] : '=';
}

}  // namespace

void AppendBase64(std::string& out, const uint8_t* data, size_t size) {
    out.reserve(out.size() + (size + 2) / 3 * 4);
    for (size_t i = 0; i < size; i += 3) {
        AppendGroup(out, data + i, size - i < 3 ? size - i : 3);
    }
}

std::string Base64Encode(const uint8_t* data, size_t size) {
    static_assert(kBase64BlockBytes % 3 == 0, "blocks must join without padding");
    std::string out;
    out.reserve((size + 2) / 3 * 4);
    for (size_t done = 0; done < size; done += kBase64BlockBytes) {
        const size_t n = size - done < kBase64BlockBytes ? size - done : kBase64BlockBytes;
        AppendBase64(out, data + done, n);
    }
    return out;
}
