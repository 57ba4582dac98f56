#include <vector>

#include "util/VFW.h"
#include "util/base64.h"
#include "util/utils.h"

namespace {

// Codec states are a few kilobytes; a codec that claims more is broken, and the job script
// could not carry it anyway.
constexpr intptr_t kMaxStateBytes = 16 << 20;

const char kNoState[] = "0,\"\"";

}  // namespace

std::string CodecStateText(const std::string& fourcc) {
    HIC hic = ICOpen(ICTYPE_VIDEO, StringToFourCC(fourcc, true), 0);
    if (!hic) return kNoState;
    const intptr_t size = ICSendMessage(hic, ICM_GETSTATE, 0, 0);
    if (size <= 0 || size > kMaxStateBytes) return kNoState;
    std::vector<uint8_t> state(size_t(size), 0);
    const intptr_t written =
        ICSendMessage(hic, ICM_GETSTATE, reinterpret_cast<intptr_t>(state.data()), size);
    ICClose(hic);
    // The module reports the bytes it wrote; the text carries exactly those.
    if (written <= 0 || written > size) return kNoState;
    return std::to_string(written) + ",\"" + Base64Encode(state.data(), size_t(written)) + "\"";
}
