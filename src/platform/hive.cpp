// The hive in memory: keys by lower-case path, each with its values by lower-case name. Every
// ancestor of a key is a key of its own, so listing subkeys and deleting a branch need no
// special cases.
#include "platform/hive_names.h"
#include "platform/registry.h"

namespace platform {

using detail::AsciiLower;
using detail::StoredValueName;
using detail::TryNormalizeKeyPath;

bool Hive::KeyExists(const std::string& keyPath) const {
    std::optional<std::string> path = TryNormalizeKeyPath(keyPath);
    if (!path) return false;
    return path->empty() || keys_.count(AsciiLower(*path)) != 0;
}

void Hive::CreateKey(const std::string& keyPath) {
    const std::string path = detail::NormalizeKeyPath(keyPath);
    // Walk down from the root; an existing ancestor lends its spelling to the new keys below it.
    std::string spelled;
    size_t start = 0;
    while (start < path.size()) {
        size_t end = path.find('\\', start);
        if (end == std::string::npos) end = path.size();
        std::string candidate = spelled.empty()
                                    ? path.substr(0, end)
                                    : spelled + path.substr(spelled.size(), end - spelled.size());
        auto [it, inserted] = keys_.try_emplace(AsciiLower(candidate));
        if (inserted) it->second.path = candidate;
        spelled = it->second.path;
        start = end + 1;
    }
}

bool Hive::DeleteKey(const std::string& keyPath) {
    std::optional<std::string> path = TryNormalizeKeyPath(keyPath);
    if (!path || path->empty()) return false;
    const std::string lower = AsciiLower(*path);
    auto it = keys_.find(lower);
    if (it == keys_.end()) return false;
    // Subkeys sort right after their parent's "\" prefix.
    const std::string prefix = lower + "\\";
    it = keys_.erase(it);
    while (it != keys_.end() && it->first.compare(0, prefix.size(), prefix) == 0)
        it = keys_.erase(it);
    return true;
}

std::optional<RegistryValue> Hive::GetValue(const std::string& keyPath,
                                            const std::string& name) const {
    std::optional<std::string> path = TryNormalizeKeyPath(keyPath);
    if (!path) return std::nullopt;
    auto key = keys_.find(AsciiLower(*path));
    if (key == keys_.end()) return std::nullopt;
    auto value = key->second.values.find(AsciiLower(StoredValueName(name)));
    if (value == key->second.values.end()) return std::nullopt;
    return value->second.second;
}

void Hive::SetValue(const std::string& keyPath, const std::string& name,
                    const RegistryValue& value) {
    const std::string path = detail::NormalizeKeyPath(keyPath);
    auto key = keys_.find(AsciiLower(path));
    if (key == keys_.end()) throw RegistryError("registry key '" + keyPath + "' does not exist");
    const std::string stored = StoredValueName(name);
    auto [it, inserted] = key->second.values.try_emplace(AsciiLower(stored), stored, value);
    if (!inserted) it->second.second = value;  // the first spelling of the name stays
}

bool Hive::DeleteValue(const std::string& keyPath, const std::string& name) {
    std::optional<std::string> path = TryNormalizeKeyPath(keyPath);
    if (!path) return false;
    auto key = keys_.find(AsciiLower(*path));
    if (key == keys_.end()) return false;
    return key->second.values.erase(AsciiLower(StoredValueName(name))) != 0;
}

std::vector<std::string> Hive::ValueNames(const std::string& keyPath) const {
    std::vector<std::string> names;
    std::optional<std::string> path = TryNormalizeKeyPath(keyPath);
    if (!path) return names;
    auto key = keys_.find(AsciiLower(*path));
    if (key == keys_.end()) return names;
    for (const auto& [lower, entry] : key->second.values) names.push_back(entry.first);
    return names;
}

std::vector<std::string> Hive::SubKeyNames(const std::string& keyPath) const {
    std::vector<std::string> names;
    std::optional<std::string> path = TryNormalizeKeyPath(keyPath);
    if (!path) return names;
    const std::string prefix = path->empty() ? std::string() : AsciiLower(*path) + "\\";
    for (auto it = keys_.lower_bound(prefix);
         it != keys_.end() && it->first.compare(0, prefix.size(), prefix) == 0; ++it) {
        if (it->first.find('\\', prefix.size()) == std::string::npos)
            names.push_back(it->second.path.substr(prefix.size()));
    }
    return names;
}

}  // namespace platform
