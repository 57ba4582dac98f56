#include "media/WavWriter.h"

#include <algorithm>
#include <string>

namespace media {
namespace {

constexpr uint16_t kFormatPcm = 1;
constexpr uint16_t kFormatExtensible = 0xFFFE;
// The sub-format of extensible PCM: KSDATAFORMAT_SUBTYPE_PCM.
constexpr uint8_t kPcmGuid[16] = {0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00,
                                  0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

void Put16(std::string& out, uint32_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
}
void Put32(std::string& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

}  // namespace

WavWriter::WavWriter(OutputFile& file, const PcmFormat& format) : file_(file) {
    extensible_ = format.channels > 2 || format.bitsPerSample > 16;
    std::string h = "RIFF";
    Put32(h, 0);
    h += "WAVEfmt ";
    Put32(h, extensible_ ? 40 : 16);
    Put16(h, extensible_ ? kFormatExtensible : kFormatPcm);
    Put16(h, static_cast<uint32_t>(format.channels));
    Put32(h, static_cast<uint32_t>(format.sampleRate));
    Put32(h, static_cast<uint32_t>(format.sampleRate * format.BlockAlign()));
    Put16(h, static_cast<uint32_t>(format.BlockAlign()));
    Put16(h, static_cast<uint32_t>(format.bitsPerSample));
    if (extensible_) {
        Put16(h, 22);
        Put16(h, static_cast<uint32_t>(format.bitsPerSample));
        Put32(h, static_cast<uint32_t>(format.channelMask));
        h.append(reinterpret_cast<const char*>(kPcmGuid), sizeof kPcmGuid);
    }
    h += "data";
    Put32(h, 0);
    file_.Write(h.data(), h.size());
    dataStart_ = file_.Size();
}

void WavWriter::Finish() {
    constexpr int64_t kLargest = 0xFFFFFFFF;
    const int64_t data = file_.Size() - dataStart_;
    if (data % 2) {  // chunks are padded to an even size
        const uint8_t zero = 0;
        file_.Write(&zero, 1);
    }
    std::string size;
    Put32(size, static_cast<uint32_t>(std::min(kLargest, file_.Size() - 8)));
    file_.WriteAt(4, size.data(), 4);
    size.clear();
    Put32(size, static_cast<uint32_t>(std::min(kLargest, data)));
    file_.WriteAt(dataStart_ - 4, size.data(), 4);
}

}  // namespace media
