#pragma once
// The text side of INI profiles, apart from any file: look-ups, and the one-line change a write
// makes, which leaves every other byte of the text as it was.
#include <optional>
#include <string>
#include <vector>

namespace platform::detail {

// The value of the first `key` line (blanks around the value removed) in any "[section]" of that
// name; names compare without regard to ASCII case.
std::optional<std::string> IniLookup(const std::string& text, const std::string& section,
                                     const std::string& key);
bool IniHasSection(const std::string& text, const std::string& section);
// Key names of the section, each once, in the order of their first appearance.
std::vector<std::string> IniKeys(const std::string& text, const std::string& section);

// The text with `key` set to `value`: the line IniLookup would read is rewritten; a new key goes
// after the last key line of the section's first block, a new section at the end. New lines take
// the text's own line end. nullopt when the names or the value cannot stand on one INI line (a line
// break, "=" in the key, "]" in the section, an empty name).
std::optional<std::string> IniAssign(const std::string& text, const std::string& section,
                                     const std::string& key, const std::string& value);

}  // namespace platform::detail
