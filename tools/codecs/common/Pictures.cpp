#include "common/Pictures.h"

#include <algorithm>
#include <cmath>

namespace mxcodec {

char FirstPictureType(const uint8_t* data, size_t size) {
    static constexpr char kTypes[4] = {'I', 'P', 'B', 'S'};
    for (size_t i = 0; i + 4 < size; ++i) {
        if (data[i] == 0 && data[i + 1] == 0 && data[i + 2] == 1 && data[i + 3] == 0xB6) {
            return kTypes[data[i + 4] >> 6];
        }
    }
    return 0;
}

int QuantizerSpreader::Next(double quantizer) {
    const double wanted = quantizer + carry_;
    const int whole = int(std::floor(wanted));
    carry_ = wanted - whole;
    return std::clamp(whole, 1, 31);
}

}  // namespace mxcodec
