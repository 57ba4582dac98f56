#include "util/VFW.h"

#include <cctype>

uint32_t StringToFourCC(const std::string& text, bool upperCase) {
    char c[4] = {' ', ' ', ' ', ' '};
    for (size_t i = 0; i < 4 && i < text.size(); ++i) {
        c[i] = upperCase ? char(std::toupper(uint8_t(text[i]))) : text[i];
    }
    return MxFourCC(c[0], c[1], c[2], c[3]);
}

std::string FourCCToString(uint32_t code) {
    return platform::FourCCText(code);
}

// Our codec modules open alike for every mode, so the mode is not passed on.
HIC ICOpen(uint32_t fccType, uint32_t fccHandler, uint32_t /*mode*/, std::string* whyNot) {
    std::string why;
    HIC hic = platform::CodecDriver::Open(fccType, fccHandler, why);
    if (!hic && whyNot) *whyNot = why;
    return hic;
}

intptr_t ICSendMessage(const HIC& hic, uint32_t message, intptr_t p1, intptr_t p2) {
    return hic ? hic->Send(message, p1, p2) : ICERR_BADHANDLE;
}

void ICClose(HIC& hic) {
    hic.reset();
}
