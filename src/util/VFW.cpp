#include "util/VFW.h"

#include <cctype>
#include <exception>
#include <optional>

#include "platform/files.h"
#include "platform/paths.h"
#include "platform/registry.h"
#include "platform/shared_library.h"

namespace {

// Older installations keep the table under the 9x key, so both are asked, NT first.
constexpr const char* kDriverKeys[] = {
    "\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Drivers32",
    "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Drivers32",
};

void SetReason(std::string* whyNot, const std::string& text) {
    if (whyNot) *whyNot = text;
}

std::string TrimmedCode(uint32_t code) {
    std::string text = FourCCToString(code);
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

std::optional<std::string> LookUpDriverFile(const std::string& valueName, std::string* whyNot) {
    try {
        platform::Registry registry(platform::RootKey::LocalMachine);
        for (const char* key : kDriverKeys) {
            if (registry.OpenKeyReadOnly(key) && registry.ValueExists(valueName)) {
                return registry.ReadString(valueName);
            }
        }
        SetReason(whyNot, "No codec is installed for " + valueName + " (no entry in " +
                              platform::LocalMachineHivePath() + ")");
    } catch (const std::exception& e) {
        SetReason(whyNot, "The drivers table cannot be read for " + valueName + ": " + e.what());
    }
    return std::nullopt;
}

// The table may only name a module inside the system folder.
bool IsBareFileName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of(std::string("/\\\0", 3)) == std::string::npos;
}

HIC LoadCompressor(const std::string& path, uint32_t fccType, uint32_t fccHandler,
                   std::string* whyNot) {
    std::string problem;
    std::unique_ptr<platform::SharedLibrary> module = platform::SharedLibrary::Load(path, problem);
    if (!module) {
        SetReason(whyNot, "Codec module: " + problem);
        return nullptr;
    }
    auto proc = module->Function<MxDriverProcFn>(MX_DRIVER_PROC_NAME);
    if (!proc) {
        SetReason(whyNot,
                  "The file " + path + " is no codec module: it has no " + MX_DRIVER_PROC_NAME);
        return nullptr;
    }
    const intptr_t instance = proc(0, MXDRV_OPEN, intptr_t(fccType), intptr_t(fccHandler));
    if (instance == 0) {
        SetReason(whyNot, "The codec module " + path + " refused to open " +
                              DriverValueName(fccType, fccHandler));
        return nullptr;
    }
    return std::make_unique<Compressor>(std::move(module), proc, instance);
}

}  // namespace

uint32_t StringToFourCC(const std::string& text, bool upperCase) {
    char c[4] = {' ', ' ', ' ', ' '};
    for (size_t i = 0; i < 4 && i < text.size(); ++i) {
        c[i] = upperCase ? char(std::toupper(uint8_t(text[i]))) : text[i];
    }
    return MxFourCC(c[0], c[1], c[2], c[3]);
}

std::string FourCCToString(uint32_t code) {
    std::string text(4, ' ');
    for (int i = 0; i < 4; ++i) text[i] = char((code >> (8 * i)) & 0xFF);
    return text;
}

Compressor::Compressor(std::unique_ptr<platform::SharedLibrary> module, MxDriverProcFn proc,
                       intptr_t instance)
    : module_(std::move(module)), proc_(proc), instance_(instance) {}

Compressor::~Compressor() {
    proc_(instance_, MXDRV_CLOSE, 0, 0);
}

intptr_t Compressor::Send(uint32_t message, intptr_t p1, intptr_t p2) const {
    return proc_(instance_, message, p1, p2);
}

// Our codec modules open alike for every mode, so the mode is not passed on.
HIC ICOpen(uint32_t fccType, uint32_t fccHandler, uint32_t /*mode*/, std::string* whyNot) {
    const std::string valueName = DriverValueName(fccType, fccHandler);
    if (valueName.empty()) {
        SetReason(whyNot, "A codec needs a four-character handler code");
        return nullptr;
    }
    const std::optional<std::string> file = LookUpDriverFile(valueName, whyNot);
    if (!file) return nullptr;
    if (!IsBareFileName(*file)) {
        SetReason(whyNot, "The drivers table entry " + valueName + " names \"" + *file +
                              "\", which is not a file name in the system folder");
        return nullptr;
    }
    return LoadCompressor(platform::SystemFolder() + platform::kPathDelimStr + *file, fccType,
                          fccHandler, whyNot);
}

intptr_t ICSendMessage(const HIC& hic, uint32_t message, intptr_t p1, intptr_t p2) {
    return hic ? hic->Send(message, p1, p2) : ICERR_BADHANDLE;
}

void ICClose(HIC& hic) {
    hic.reset();
}
