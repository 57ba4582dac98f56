// Any text either fails to parse with a RegistryError or is a hive whose text parses back to the
// same hive.
// clang-format off
// fuzz-sources: src/platform/hive.cpp src/platform/hive_parse.cpp src/platform/hive_text.cpp src/platform/hive_names.cpp src/platform/text_lines.cpp
// clang-format on
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/registry.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    platform::Hive hive;
    try {
        hive = platform::Hive::Parse(text, "fuzz.reg");
    } catch (const platform::RegistryError&) {
        return 0;
    }
    std::string written = hive.Serialize();
    if (platform::Hive::Parse(written, "again.reg").Serialize() != written) std::abort();
    return 0;
}
