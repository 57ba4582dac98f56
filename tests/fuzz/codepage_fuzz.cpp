// fuzz-sources: src/util/codepage.cpp src/util/Escape.cpp
// Any bytes, read as UTF-8 or as Windows-1252, must give well-formed UTF-8 (converting it again
// changes nothing), and the escaped form must be plain ASCII within the job runner's limit.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "util/codepage.h"
#include "util/utils.h"

namespace {

void Check(const std::string& input, CodePage from) {
    const std::string utf8 = ToUtf8(input, from);
    if (ToUtf8(utf8, CodePage::Utf8) != utf8) std::abort();
    const std::string escaped = EscapeUtf8(input, from);
    if (escaped.size() > 1023 * 4) std::abort();
    for (char c : escaped) {
        if (uint8_t(c) > 0x7F) std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    Check(input, CodePage::Utf8);
    Check(input, CodePage::Windows1252);
    return 0;
}
