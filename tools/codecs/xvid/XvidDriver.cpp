// xvidvfw.dll: the XviD codec's driver. It answers the driver messages for the handler "XVID",
// keeps the configuration read from "Software\GNU\XviD" (or set from a state blob) and runs the
// encoder of xvidcore.dll on it.
#include "common/ConfiguredInstance.h"
#include "common/DriverEntry.h"
#include "xvid/XvidSession.h"
#include "xvid/XvidSettings.h"

namespace mxcodec {
namespace {

struct XvidTraits {
    using Config = XvidConfig;
    using Session = XvidSession;
    static constexpr const char* kKey = kXvidKey;
    static constexpr const char* kModule = "xvidvfw.dll";
    static Config Read(SettingsReader& reader) { return ReadXvidSettings(reader); }
    static std::vector<uint8_t> Save(const Config& c) { return SaveXvidState(c); }
    static Config Load(const uint8_t* data, size_t size) { return LoadXvidState(data, size); }
};

const DriverInfo kDriver{{MxFourCC('X', 'V', 'I', 'D')}, OpenConfigured<XvidTraits>};

}  // namespace
}  // namespace mxcodec

MX_EXPORT intptr_t MxDriverProc(intptr_t instance, uint32_t message, intptr_t p1, intptr_t p2) {
    return mxcodec::DriverEntry(mxcodec::kDriver, instance, message, p1, p2);
}
