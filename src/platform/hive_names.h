#pragma once
// Spelling rules shared by the hive's parts: key paths and value names compare without regard to
// ASCII case, a key path has no empty component, and "@" names the default value.
#include <optional>
#include <string>

namespace platform::detail {

std::string AsciiLower(std::string text);

// Leading and trailing "\" removed; nullopt when a component is empty ("a\\b") or the path holds
// a line break or a NUL, which no hive line could carry. The root is the empty path.
std::optional<std::string> TryNormalizeKeyPath(const std::string& path);
// As TryNormalizeKeyPath, but raises RegistryError for a path it refuses.
std::string NormalizeKeyPath(const std::string& path);

// The stored name of a value: "@" and "" both stand for the default value, kept as "".
inline std::string StoredValueName(const std::string& name) {
    return name == "@" ? std::string() : name;
}

}  // namespace platform::detail
