#pragma once
// The registry: two hives (current user, local machine) kept as registry-export text files.
//
//   Windows Registry Editor Version 5.00
//
//   [Software\GNU\XviD]
//   "mode"=dword:00000001
//   "stats1"="C:\\out\\movie_codec.log"
//   "qmatrix_intra"=hex:08,11,12
//
// Key paths are case-insensitive and keep the spelling of their first creation; value names are
// case-insensitive too; "@" is the default value. Every write is a read-modify-write of the whole
// hive under an exclusive lock on "<hive>.lock", saved by writing "<hive>.tmp" and renaming it
// over the hive, so two writers never lose each other's values and a crash never leaves a torn
// hive. A hive that cannot be parsed raises RegistryError naming the file and the line, and the
// file is left as it is.
//
// Besides the escapes of "\" and the double quote, strings escape line breaks and NUL as "\n",
// "\r" and "\0", so that any text a caller stores can be read back. Blank lines and lines
// starting with ";" are ignored; a key may appear in several sections, a value only once per key.
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace platform {

class RegistryError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

enum class RootKey { CurrentUser, LocalMachine };

// Access asked for when a key is opened. A hive file that cannot be written refuses AllAccess
// and ReadWrite, and grants Read.
enum class KeyAccess { AllAccess, ReadWrite, Read };

struct RegistryValue {
    enum class Type { Dword, String, Binary };
    Type type = Type::Dword;
    uint32_t dword = 0;
    std::string text;
    std::vector<uint8_t> binary;

    bool operator==(const RegistryValue&) const = default;
};

// One hive in memory: parse, query, change, serialise. No file access.
class Hive {
  public:
    // Parses registry-export text; `fileName` is only used in error messages.
    static Hive Parse(const std::string& text, const std::string& fileName);
    std::string Serialize() const;

    bool KeyExists(const std::string& keyPath) const;
    // Creates the key and its parents when missing.
    void CreateKey(const std::string& keyPath);
    bool DeleteKey(const std::string& keyPath);  // the key and its subkeys
    std::optional<RegistryValue> GetValue(const std::string& keyPath,
                                          const std::string& name) const;
    // The key must exist.
    void SetValue(const std::string& keyPath, const std::string& name, const RegistryValue& value);
    bool DeleteValue(const std::string& keyPath, const std::string& name);
    std::vector<std::string> ValueNames(const std::string& keyPath) const;
    std::vector<std::string> SubKeyNames(const std::string& keyPath) const;

  private:
    struct Key {
        std::string path;                                                     // as first spelled
        std::map<std::string, std::pair<std::string, RegistryValue>> values;  // lower name ->
    };
    std::map<std::string, Key> keys_;  // lower-case path -> key
};

// Path of a root's hive file (see paths.h).
std::string HivePath(RootKey root);

// Reads a hive file; a missing file is an empty hive. Throws RegistryError on a damaged file.
Hive LoadHive(const std::string& path);
// Applies `change` to the hive at `path` under its lock and saves it atomically. Throws
// RegistryError when the hive cannot be read, parsed or written; the file is then untouched.
template <class F>
void UpdateHive(const std::string& path, F&& change);
void UpdateHiveWith(const std::string& path, const std::function<void(Hive&)>& change);
template <class F>
void UpdateHive(const std::string& path, F&& change) {
    UpdateHiveWith(path, std::function<void(Hive&)>(std::forward<F>(change)));
}

// A registry accessor in the manner of the program's registry class: a root, at most one open
// key, value reads and writes on that key. Writes raise RegistryError
// "Failed to set data for '<name>'" when no key is open, the key was opened Read, or the hive
// cannot be written. Opening a key that the hive's file permissions refuse returns false; a hive
// that exists but cannot be parsed raises RegistryError (file and line) from the opening and
// reading calls instead of passing for an empty one.
class Registry {
  public:
    explicit Registry(RootKey root = RootKey::CurrentUser);
    virtual ~Registry() = default;

    RootKey Root() const { return root_; }
    void SetRoot(RootKey root);  // closes the open key
    // Hive file override for tests; by default HivePath(root).
    void SetHiveFile(const std::string& path);
    const std::string& HiveFile() const { return hiveFile_; }

    // A path starting with "\" is taken from the root, otherwise relative to the open key; a
    // trailing "\" is ignored. OpenKey asks AllAccess, OpenKeyReadOnly Read. A failed opening
    // leaves the open key as it was.
    virtual bool OpenKey(const std::string& key, bool canCreate);
    bool OpenKeyReadOnly(const std::string& key);
    bool KeyExists(const std::string& key) const;
    void CloseKey();
    bool HasCurrentKey() const { return !currentPath_.empty(); }
    const std::string& CurrentPath() const { return currentPath_; }
    KeyAccess CurrentAccess() const { return access_; }

    bool ValueExists(const std::string& name) const;
    void WriteInteger(const std::string& name, int32_t value);
    void WriteString(const std::string& name, const std::string& value);
    void WriteBinaryData(const std::string& name, const void* data, size_t size);
    // Reads raise RegistryError when the value is missing or of another type.
    int32_t ReadInteger(const std::string& name) const;
    std::string ReadString(const std::string& name) const;
    std::vector<uint8_t> ReadBinaryData(const std::string& name) const;

  protected:
    // The primitive behind OpenKey: open (or create, when `create`) the absolute key path with
    // the given access; on success it becomes the current key. Derived accessors build their own
    // opening rules on it.
    bool OpenAbsolute(const std::string& absolutePath, bool create, KeyAccess access);

  private:
    // The absolute path `key` names (see OpenKey); nullopt for a malformed path.
    std::optional<std::string> Resolve(const std::string& key) const;
    void Write(const std::string& name, const RegistryValue& value);
    RegistryValue ReadValue(const std::string& name, RegistryValue::Type type) const;
    RootKey root_;
    std::string hiveFile_;
    std::string currentPath_;  // empty: no key open
    KeyAccess access_ = KeyAccess::Read;
};

}  // namespace platform
