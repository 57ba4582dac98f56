#include "platform/hive_names.h"

#include "platform/registry.h"

namespace platform::detail {

std::string AsciiLower(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

std::optional<std::string> TryNormalizeKeyPath(const std::string& path) {
    size_t first = path.find_first_not_of('\\');
    if (first == std::string::npos) return std::string();
    size_t last = path.find_last_not_of('\\');
    std::string trimmed = path.substr(first, last - first + 1);
    if (trimmed.find("\\\\") != std::string::npos) return std::nullopt;
    if (trimmed.find_first_of(std::string("\r\n\0", 3)) != std::string::npos) return std::nullopt;
    return trimmed;
}

std::string NormalizeKeyPath(const std::string& path) {
    std::optional<std::string> normal = TryNormalizeKeyPath(path);
    if (!normal) throw RegistryError("invalid registry key path '" + path + "'");
    return *normal;
}

}  // namespace platform::detail
