#include "platform/codec_driver.h"

#include <cctype>
#include <exception>
#include <optional>

#include "platform/paths.h"
#include "platform/registry.h"

namespace platform {

namespace {

// Older installations keep the table under the 9x key, so both are asked, NT first.
constexpr const char* kDriverKeys[] = {
    "\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Drivers32",
    "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Drivers32",
};

std::string TrimmedCode(uint32_t code) {
    std::string text = FourCCText(code);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\0')) text.pop_back();
    return text;
}

// "VIDC.XVID"; empty when the handler is blank.
std::string DriverValueName(uint32_t fccType, uint32_t fccHandler) {
    std::string type = TrimmedCode(fccType);
    const std::string handler = TrimmedCode(fccHandler);
    if (type.empty() || handler.empty()) return "";
    for (char& c : type) c = char(std::toupper(uint8_t(c)));
    return type + "." + handler;
}

std::optional<std::string> LookUpDriverFile(const std::string& valueName, std::string& whyNot) {
    try {
        Registry registry(RootKey::LocalMachine);
        for (const char* key : kDriverKeys) {
            if (registry.OpenKeyReadOnly(key) && registry.ValueExists(valueName)) {
                return registry.ReadString(valueName);
            }
        }
        whyNot = "No codec is installed for " + valueName + " (no entry in " +
                 LocalMachineHivePath() + ")";
    } catch (const std::exception& e) {
        whyNot = "The drivers table cannot be read for " + valueName + ": " + e.what();
    }
    return std::nullopt;
}

// The table may only name a module inside the system folder.
bool IsBareFileName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of(std::string("/\\\0", 3)) == std::string::npos;
}

}  // namespace

std::string FourCCText(uint32_t code) {
    std::string text(4, ' ');
    for (int i = 0; i < 4; ++i) text[i] = char((code >> (8 * i)) & 0xFF);
    return text;
}

std::unique_ptr<CodecDriver> CodecDriver::Open(uint32_t fccType, uint32_t fccHandler,
                                               std::string& whyNot) {
    const std::string valueName = DriverValueName(fccType, fccHandler);
    if (valueName.empty()) {
        whyNot = "A codec needs a four-character handler code";
        return nullptr;
    }
    const std::optional<std::string> file = LookUpDriverFile(valueName, whyNot);
    if (!file) return nullptr;
    if (!IsBareFileName(*file)) {
        whyNot = "The drivers table entry " + valueName + " names \"" + *file +
                 "\", which is not a file name in the system folder";
        return nullptr;
    }
    const std::string path = SystemFolder() + kPathDelimStr + *file;
    std::string problem;
    std::unique_ptr<SharedLibrary> module = SharedLibrary::Load(path, problem);
    if (!module) {
        whyNot = "Codec module: " + problem;
        return nullptr;
    }
    auto proc = module->Function<MxDriverProcFn>(MX_DRIVER_PROC_NAME);
    if (!proc) {
        whyNot = "The file " + path + " is no codec module: it has no " + MX_DRIVER_PROC_NAME;
        return nullptr;
    }
    const intptr_t instance = proc(0, MXDRV_OPEN, intptr_t(fccType), intptr_t(fccHandler));
    if (instance == 0) {
        whyNot = "The codec module " + path + " refused to open " + valueName;
        return nullptr;
    }
    return std::unique_ptr<CodecDriver>(new CodecDriver(std::move(module), proc, instance));
}

CodecDriver::~CodecDriver() {
    proc_(instance_, MXDRV_CLOSE, 0, 0);
}

intptr_t CodecDriver::Send(uint32_t message, intptr_t p1, intptr_t p2) const {
    return proc_(instance_, message, p1, p2);
}

std::string CodecDriver::ErrorText() const {
    char text[1024] = {};
    const intptr_t n = Send(MXICM_GETERRORTEXT, intptr_t(text), intptr_t(sizeof text));
    return n > 0 ? std::string(text) : std::string();
}

}  // namespace platform
