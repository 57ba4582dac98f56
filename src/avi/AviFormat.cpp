#include "avi/AviFormat.h"

#include <cstdio>

namespace avi {

std::string CodeText(uint32_t code) {
    std::string text;
    bool printable = true;
    for (int i = 0; i < 4; ++i) {
        char c = char((code >> (8 * i)) & 0xFF);
        printable = printable && c >= 0x20 && c < 0x7F;
        text += c;
    }
    if (printable) return "\"" + text + "\"";
    char hex[16];
    std::snprintf(hex, sizeof hex, "0x%08X", unsigned(code));
    return hex;
}

void ThrowAt(int64_t pos, const std::string& what, const std::string& problem) {
    throw TAviFormatError(what + " at offset " + std::to_string(pos) + ": " + problem);
}

}  // namespace avi
