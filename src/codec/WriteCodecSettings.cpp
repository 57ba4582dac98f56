#include <stdexcept>
#include <string>

#include "codec/reg.h"

void WriteCodecSettings(uint8_t codec, bool newXviD, const TXviDCodecParams& xvid,
                        const TDivXCodecParams& divx, bool essMarker) {
    if (codec == 0) {
        if (newXviD)
            WriteXviDCoreSettings(xvid, essMarker);
        else
            WriteXviDLegacySettings(xvid, essMarker);
    } else if (codec == 1) {
        WriteDivXSettings(divx);
    } else {
        throw std::invalid_argument("Unknown codec " + std::to_string(codec) +
                                    " for the codec settings.");
    }
}
