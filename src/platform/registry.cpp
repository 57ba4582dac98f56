// The registry accessor. It keeps no copy of the hive: every call reads the file, every write
// is one locked read-modify-write, so other processes see a value as soon as it is written.
#include "platform/registry.h"

#include "platform/hive_access.h"
#include "platform/hive_names.h"

namespace platform {
namespace {

RegistryError FailedToSet(const std::string& name) {
    return RegistryError("Failed to set data for '" + name + "'");
}

const char* TypeName(RegistryValue::Type type) {
    switch (type) {
        case RegistryValue::Type::Dword:
            return "a DWORD";
        case RegistryValue::Type::String:
            return "a string";
        case RegistryValue::Type::Binary:
            return "binary data";
    }
    return "unknown";
}

}  // namespace

Registry::Registry(RootKey root) : root_(root), hiveFile_(HivePath(root)) {}

void Registry::SetRoot(RootKey root) {
    CloseKey();
    root_ = root;
    hiveFile_ = HivePath(root);
}

void Registry::SetHiveFile(const std::string& path) {
    CloseKey();
    hiveFile_ = path;
}

std::optional<std::string> Registry::Resolve(const std::string& key) const {
    std::optional<std::string> path = detail::TryNormalizeKeyPath(key);
    if (!path) return std::nullopt;
    bool relative = key.empty() || key[0] != '\\';
    if (!relative || !HasCurrentKey()) return path;
    return path->empty() ? currentPath_ : currentPath_ + "\\" + *path;
}

bool Registry::OpenKey(const std::string& key, bool canCreate) {
    std::optional<std::string> path = Resolve(key);
    return path && OpenAbsolute(*path, canCreate, KeyAccess::AllAccess);
}

bool Registry::OpenKeyReadOnly(const std::string& key) {
    std::optional<std::string> path = Resolve(key);
    return path && OpenAbsolute(*path, false, KeyAccess::Read);
}

bool Registry::OpenAbsolute(const std::string& absolutePath, bool create, KeyAccess access) {
    std::optional<std::string> path = detail::TryNormalizeKeyPath(absolutePath);
    if (!path || path->empty()) return false;
    if (!detail::HiveGrants(hiveFile_, access)) return false;
    if (!LoadHive(hiveFile_).KeyExists(*path)) {
        if (!create || access == KeyAccess::Read) return false;
        try {
            UpdateHive(hiveFile_, [&](Hive& hive) { hive.CreateKey(*path); });
        } catch (const RegistryError&) {
            return false;
        }
    }
    currentPath_ = *path;
    access_ = access;
    return true;
}

bool Registry::KeyExists(const std::string& key) const {
    std::optional<std::string> path = Resolve(key);
    if (!path || !detail::HiveGrants(hiveFile_, KeyAccess::Read)) return false;
    return LoadHive(hiveFile_).KeyExists(*path);
}

void Registry::CloseKey() {
    currentPath_.clear();
    access_ = KeyAccess::Read;
}

bool Registry::ValueExists(const std::string& name) const {
    return HasCurrentKey() && LoadHive(hiveFile_).GetValue(currentPath_, name).has_value();
}

void Registry::Write(const std::string& name, const RegistryValue& value) {
    if (!HasCurrentKey() || access_ == KeyAccess::Read) throw FailedToSet(name);
    // The hive may have been made read-only since the key was opened; a save by rename would
    // still go through, so ask again.
    if (!detail::HiveGrants(hiveFile_, access_)) throw FailedToSet(name);
    try {
        // The key may have been deleted by another process since it was opened; then the write
        // fails as it would on an open handle to a deleted key.
        UpdateHive(hiveFile_, [&](Hive& hive) { hive.SetValue(currentPath_, name, value); });
    } catch (const RegistryError&) {
        throw FailedToSet(name);
    }
}

void Registry::WriteInteger(const std::string& name, int32_t value) {
    RegistryValue v;
    v.type = RegistryValue::Type::Dword;
    v.dword = static_cast<uint32_t>(value);
    Write(name, v);
}

void Registry::WriteString(const std::string& name, const std::string& value) {
    RegistryValue v;
    v.type = RegistryValue::Type::String;
    v.text = value;
    Write(name, v);
}

void Registry::WriteBinaryData(const std::string& name, const void* data, size_t size) {
    RegistryValue v;
    v.type = RegistryValue::Type::Binary;
    const auto* bytes = static_cast<const uint8_t*>(data);
    if (size > 0) v.binary.assign(bytes, bytes + size);
    Write(name, v);
}

RegistryValue Registry::ReadValue(const std::string& name, RegistryValue::Type type) const {
    if (!HasCurrentKey())
        throw RegistryError("cannot read registry value '" + name + "': no key is open");
    std::optional<RegistryValue> value = LoadHive(hiveFile_).GetValue(currentPath_, name);
    if (!value)
        throw RegistryError("registry value '" + name + "' does not exist in key '" + currentPath_ +
                            "' of " + hiveFile_);
    if (value->type != type)
        throw RegistryError("registry value '" + name + "' in key '" + currentPath_ + "' is " +
                            TypeName(value->type) + ", not " + TypeName(type));
    return *value;
}

int32_t Registry::ReadInteger(const std::string& name) const {
    return static_cast<int32_t>(ReadValue(name, RegistryValue::Type::Dword).dword);
}

std::string Registry::ReadString(const std::string& name) const {
    return ReadValue(name, RegistryValue::Type::String).text;
}

std::vector<uint8_t> Registry::ReadBinaryData(const std::string& name) const {
    return ReadValue(name, RegistryValue::Type::Binary).binary;
}

}  // namespace platform
