#include "platform/system.h"

#include <sys/utsname.h>

#include <optional>
#include <string_view>

#if defined(__i386__) || defined(__x86_64__)
#include <cpuid.h>
#endif

#include "platform/files.h"
#include "platform/text_lines.h"

namespace platform {
namespace {

// The value of one line of the file, quotes removed as the shell would; nullopt for a value
// with a quote that does not end.
std::optional<std::string> AssignedValue(std::string_view raw) {
    while (!raw.empty() && (raw.back() == ' ' || raw.back() == '\t' || raw.back() == '\r'))
        raw.remove_suffix(1);
    if (raw.empty() || (raw[0] != '"' && raw[0] != '\'')) return std::string(raw);
    const char quote = raw[0];
    std::string value;
    for (std::size_t i = 1; i < raw.size(); ++i) {
        if (raw[i] == quote) return i + 1 == raw.size() ? std::optional(value) : std::nullopt;
        if (quote == '"' && raw[i] == '\\' && i + 1 < raw.size()) ++i;
        value += raw[i];
    }
    return std::nullopt;
}

std::string WithoutControlCharacters(const std::string& text) {
    std::string out;
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7F) out += c;
    return out;
}

}  // namespace

CpuFeatures DetectCpuFeatures() {
    CpuFeatures features;
#if defined(__i386__) || defined(__x86_64__)
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    if (__get_cpuid(1, &eax, &ebx, &ecx, &edx)) {
        features.mmx = (edx >> 23) & 1;
        features.sse = (edx >> 25) & 1;
        features.sse2 = (edx >> 26) & 1;
    }
#endif
    return features;
}

std::string OsReleasePrettyName(const std::string& osReleaseText) {
    std::string pretty;
    for (const std::string& text : SplitLines(osReleaseText)) {
        std::string_view line(text);
        while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
            line.remove_prefix(1);
        constexpr std::string_view kKey = "PRETTY_NAME=";
        if (line.substr(0, kKey.size()) != kKey) continue;
        if (auto value = AssignedValue(line.substr(kKey.size()))) pretty = *value;
    }
    return WithoutControlCharacters(pretty);
}

OsVersion QueryOsVersion() {
    OsVersion version;
    struct utsname names;
    if (uname(&names) == 0) {
        version.known = true;
        version.name = names.sysname;
        version.release = names.release;
        version.machine = names.machine;
    }
    std::string text;
    for (const char* path : {"/etc/os-release", "/usr/lib/os-release"}) {
        if (ReadFileText(path, text)) {
            version.distro = OsReleasePrettyName(text);
            break;
        }
    }
    return version;
}

}  // namespace platform
