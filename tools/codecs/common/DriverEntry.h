#pragma once
// The exported MxDriverProc of a codec module, in one place for both modules: OPEN makes an
// instance when the type and handler are the module's, CLOSE deletes it, every other message
// goes to the instance. An instance handle is the instance's address.
#include <array>
#include <cstdint>

#include "common/CodecInstance.h"

namespace mxcodec {

struct DriverInfo {
    std::array<uint32_t, 2> handlers;  // upper-case four-character codes; 0 for none
    CodecInstance* (*open)();          // reads the settings; may throw
};

intptr_t DriverEntry(const DriverInfo& info, intptr_t instance, uint32_t message, intptr_t p1,
                     intptr_t p2) noexcept;

}  // namespace mxcodec

#define MX_EXPORT extern "C" __attribute__((visibility("default")))
