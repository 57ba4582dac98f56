// A codec module for the codec-layer tests and the installations' XviD and DivX codecs. It opens
// only for the handlers "TEST", "XVID" and "DIVX" and reports a state of
// MOVREX_TESTCODEC_STATE_SIZE bytes (3 when unset); with MOVREX_TESTCODEC_REFUSE set it refuses to
// hand the state over. TestCodecLiveInstances tells the tests whether every open was closed.
#include <atomic>
#include <cstdlib>
#include <cstring>

#include "platform/vfw_abi.h"
#include "state_blob.h"

namespace {

std::atomic<int> liveInstances{0};
std::atomic<intptr_t> nextInstance{1};

intptr_t StateSize() {
    const char* text = std::getenv("MOVREX_TESTCODEC_STATE_SIZE");
    return text && *text ? std::atoll(text) : 3;
}

intptr_t GetState(intptr_t buffer, intptr_t capacity) {
    const intptr_t size = StateSize();
    if (buffer == 0) return size;
    if (std::getenv("MOVREX_TESTCODEC_REFUSE")) return -1;
    const intptr_t n = capacity < size ? capacity : size;
    auto* out = reinterpret_cast<uint8_t*>(buffer);
    for (intptr_t i = 0; i < n; ++i) out[i] = TestCodecStateByte(size_t(i));
    return n;
}

}  // namespace

extern "C" __attribute__((visibility("default"))) int TestCodecLiveInstances() {
    return liveInstances.load();
}

extern "C" __attribute__((visibility("default"))) intptr_t MxDriverProc(intptr_t instance,
                                                                        uint32_t message,
                                                                        intptr_t p1, intptr_t p2) {
    switch (message) {
        case MXDRV_OPEN:
            if (uint32_t(p1) != MxFourCC('v', 'i', 'd', 'c') ||
                (uint32_t(p2) != MxFourCC('T', 'E', 'S', 'T') &&
                 uint32_t(p2) != MxFourCC('X', 'V', 'I', 'D') &&
                 uint32_t(p2) != MxFourCC('D', 'I', 'V', 'X'))) {
                return 0;
            }
            ++liveInstances;
            return nextInstance++;
        case MXDRV_CLOSE:
            if (instance != 0) --liveInstances;
            return 1;
        case MXICM_GETSTATE:
            return GetState(p1, p2);
        default:
            return -1;
    }
}
