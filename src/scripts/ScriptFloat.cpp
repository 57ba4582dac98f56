#include <charconv>

#include "scripts/avs.h"

// to_chars never looks at the process locale, which the window toolkit may have changed; the
// scripts need "." whatever the user's regional settings are.
std::string ScriptFloat(double value) {
    char text[64];
    auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::general, 15);
    return std::string(text, result.ptr);
}
