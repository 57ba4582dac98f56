#include "common/DriverEntry.h"

#include <cctype>
#include <cstdio>
#include <exception>

namespace mxcodec {

namespace {

uint32_t UpperCode(uint32_t code) {
    uint32_t upper = 0;
    for (int i = 0; i < 4; ++i) {
        upper |= uint32_t(std::toupper(int((code >> (8 * i)) & 0xFF))) << (8 * i);
    }
    return upper;
}

intptr_t Open(const DriverInfo& info, uint32_t type, uint32_t handler) noexcept {
    if (type != MxFourCC('v', 'i', 'd', 'c')) return 0;
    bool served = false;
    for (uint32_t code : info.handlers) served |= code != 0 && code == UpperCode(handler);
    if (!served) return 0;
    try {
        return reinterpret_cast<intptr_t>(info.open());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "codec module: cannot open an instance: %s\n", e.what());
        return 0;
    }
}

}  // namespace

intptr_t DriverEntry(const DriverInfo& info, intptr_t instance, uint32_t message, intptr_t p1,
                     intptr_t p2) noexcept {
    if (message == MXDRV_OPEN) return Open(info, uint32_t(p1), uint32_t(p2));
    auto* codec = reinterpret_cast<CodecInstance*>(instance);
    if (!codec) return MXICERR_BADHANDLE;
    if (message == MXDRV_CLOSE) {
        delete codec;
        return 1;
    }
    return codec->Message(message, p1, p2);
}

}  // namespace mxcodec
