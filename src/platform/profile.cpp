// INI profiles on disk. Reads never fail: whatever cannot be read gives the caller's default.
// Writes re-read the file under a lock on "<file>.lock" and replace it whole, so a second writer
// neither loses a change nor tears the file.
#include "platform/profile.h"

#include <charconv>

#include "platform/atomic_file.h"
#include "platform/ini_text.h"

namespace platform {
namespace {

constexpr size_t kMaxIniBytes = 16u << 20;

std::string ReadOrEmpty(const std::string& path) {
    std::string text, error;
    if (detail::ReadWholeFile(path, text, error, kMaxIniBytes) != detail::ReadStatus::Ok)
        text.clear();
    return text;
}

std::optional<int> ParseWhole(const std::string& text) {
    const char* first = text.data();
    const char* last = text.data() + text.size();
    if (first != last && *first == '+') ++first;
    int value = 0;
    auto [end, ec] = std::from_chars(first, last, value);
    if (ec != std::errc() || end != last || first == last) return std::nullopt;
    return value;
}

}  // namespace

IniFile::IniFile(std::string path) : path_(std::move(path)) {}

std::string IniFile::ReadString(const std::string& section, const std::string& key,
                                const std::string& def) const {
    return detail::IniLookup(ReadOrEmpty(path_), section, key).value_or(def);
}

int IniFile::ReadInteger(const std::string& section, const std::string& key, int def) const {
    std::optional<std::string> text = detail::IniLookup(ReadOrEmpty(path_), section, key);
    if (!text) return def;
    return ParseWhole(*text).value_or(def);
}

bool IniFile::ReadBool(const std::string& section, const std::string& key, bool def) const {
    std::optional<std::string> text = detail::IniLookup(ReadOrEmpty(path_), section, key);
    std::optional<int> value = text ? ParseWhole(*text) : std::nullopt;
    return value ? *value != 0 : def;
}

bool IniFile::SectionExists(const std::string& section) const {
    return detail::IniHasSection(ReadOrEmpty(path_), section);
}

std::vector<std::string> IniFile::ReadSection(const std::string& section) const {
    return detail::IniKeys(ReadOrEmpty(path_), section);
}

bool IniFile::WriteString(const std::string& section, const std::string& key,
                          const std::string& value) {
    std::string text, error;
    if (!detail::CreateFolderFor(path_, error)) return false;
    detail::FileLock lock(path_ + ".lock");
    if (!lock.Locked()) return false;
    // A file that exists but cannot be read is not rewritten: its other lines would be lost.
    if (detail::ReadWholeFile(path_, text, error, kMaxIniBytes) == detail::ReadStatus::Failed)
        return false;
    std::optional<std::string> changed = detail::IniAssign(text, section, key, value);
    return changed && detail::SaveFileAtomically(path_, *changed, error);
}

bool IniFile::WriteInteger(const std::string& section, const std::string& key, int value) {
    return WriteString(section, key, std::to_string(value));
}

bool IniFile::WriteBool(const std::string& section, const std::string& key, bool value) {
    return WriteString(section, key, value ? "1" : "0");
}

}  // namespace platform
