#pragma once
// The codec layer's binary interface. A codec module is a shared object in the system folder,
// named by the local-machine drivers table
// ("SOFTWARE\Microsoft\Windows NT\CurrentVersion\Drivers32", value "VIDC.<FOURCC>" = file
// name). It exports one C function, MxDriverProc, that takes the driver messages below. The
// planner's util/VFW and the job runner both talk to codecs only through this.
#include <cstdint>

extern "C" {

// Messages. Values follow the installable-compressor message numbering.
enum : uint32_t {
    MXDRV_OPEN = 3,   // p1: fccType, p2: fccHandler; returns an instance handle, 0 = refused
    MXDRV_CLOSE = 4,  // instance; returns 1
    MXICM_GETSTATE = 0x5000,  // p1: buffer or 0, p2: size; with no buffer returns the size,
                              // otherwise the bytes written, or a negative error
    MXICM_SETSTATE = 0x5001,  // p1: buffer, p2: size; returns bytes taken, 0 = refused
};

// instance: 0 for MXDRV_OPEN, else what MXDRV_OPEN returned.
typedef intptr_t (*MxDriverProcFn)(intptr_t instance, uint32_t message, intptr_t p1, intptr_t p2);

#define MX_DRIVER_PROC_NAME "MxDriverProc"

// Four-character code from text, as the multimedia helper builds it: first byte lowest.
constexpr inline uint32_t MxFourCC(char a, char b, char c, char d) {
    return uint32_t(uint8_t(a)) | uint32_t(uint8_t(b)) << 8 | uint32_t(uint8_t(c)) << 16 |
           uint32_t(uint8_t(d)) << 24;
}
}
