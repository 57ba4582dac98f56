// divx.dll: the DivX codec. It answers the driver messages for the handlers "DIVX" and "DX50",
// keeps the configuration read from "Software\DivXNetworks\DivX4Windows" (or set from a state
// blob) and runs libavcodec's MPEG-4 encoder on it; its streams carry the code "DX50".
#include "common/ConfiguredInstance.h"
#include "common/DriverEntry.h"
#include "divx/DivxSession.h"
#include "divx/DivxSettings.h"

namespace mxcodec {
namespace {

struct DivxTraits {
    using Config = DivxConfig;
    using Session = DivxSession;
    static constexpr const char* kKey = kDivxKey;
    static constexpr const char* kModule = "divx.dll";
    static Config Read(SettingsReader& reader) { return ReadDivxSettings(reader); }
    static std::vector<uint8_t> Save(const Config& c) { return SaveDivxState(c); }
    static Config Load(const uint8_t* data, size_t size) { return LoadDivxState(data, size); }
};

const DriverInfo kDriver{{MxFourCC('D', 'I', 'V', 'X'), MxFourCC('D', 'X', '5', '0')},
                         OpenConfigured<DivxTraits>};

}  // namespace
}  // namespace mxcodec

MX_EXPORT intptr_t MxDriverProc(intptr_t instance, uint32_t message, intptr_t p1, intptr_t p2) {
    return mxcodec::DriverEntry(mxcodec::kDriver, instance, message, p1, p2);
}
