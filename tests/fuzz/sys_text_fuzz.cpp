// The small text readers of the platform layer on any bytes: numbers, wildcards and os-release.
// Whatever they accept must come back unchanged through the matching writer.
// clang-format off
// fuzz-sources: src/platform/locale_numbers.cpp src/platform/files_find.cpp src/platform/system.cpp src/platform/files_text.cpp src/platform/files_internal.cpp src/platform/text_lines.cpp
// clang-format on
#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/files.h"
#include "platform/locale.h"
#include "platform/system.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

void Numbers(const std::string& text, char separator) {
    platform::FormatSettings fs;
    fs.decimalSeparator = separator;
    fs.thousandSeparator = '\0';
    if (auto value = platform::ParseFloat(text, fs)) {
        Check(std::isfinite(*value));
        auto back = platform::ParseFloat(platform::FormatFixed(*value, 30, fs), fs);
        Check(back.has_value());
    }
    if (auto whole = platform::ParseInteger(text))
        Check(platform::ParseInteger(std::to_string(*whole)) == whole);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const char separator = input.ConsumeBool() ? ',' : '.';
    const bool fold = input.ConsumeBool();
    const std::string first = input.ConsumeRandomLengthString(256);
    const std::string second = input.ConsumeRemainingBytesAsString();
    Numbers(first, separator);
    platform::WildcardMatch(first, second, fold);
    if (first.find_first_of("*?") == std::string::npos)
        Check(platform::WildcardMatch(first, first, fold));
    for (unsigned char c : platform::OsReleasePrettyName(second)) Check(c >= 0x20 && c != 0x7F);
    return 0;
}
