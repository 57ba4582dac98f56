// A write of one key reads back as written (blanks around it aside) and changes no other key.
// fuzz-sources: src/platform/ini_text.cpp src/platform/hive_names.cpp src/platform/text_lines.cpp
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/hive_names.h"
#include "platform/ini_text.h"

namespace {

std::string Trim(const std::string& s) {
    size_t first = s.find_first_not_of(" \t\r");
    if (first == std::string::npos) return "";
    return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
}

bool Same(const std::string& a, const std::string& b) {
    return platform::detail::AsciiLower(Trim(a)) == platform::detail::AsciiLower(Trim(b));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    std::string section = in.ConsumeRandomLengthString(16);
    std::string key = in.ConsumeRandomLengthString(16);
    std::string value = in.ConsumeRandomLengthString(16);
    std::string otherSection = in.ConsumeRandomLengthString(16);
    std::string otherKey = in.ConsumeRandomLengthString(16);
    std::string text = in.ConsumeRemainingBytesAsString();

    std::optional<std::string> changed = platform::detail::IniAssign(text, section, key, value);
    if (!changed) return 0;
    if (platform::detail::IniLookup(*changed, section, key) != Trim(value)) std::abort();
    if (!platform::detail::IniHasSection(*changed, section)) std::abort();
    if (!(Same(section, otherSection) && Same(key, otherKey)) &&
        platform::detail::IniLookup(*changed, otherSection, otherKey) !=
            platform::detail::IniLookup(text, otherSection, otherKey))
        std::abort();
    return 0;
}
