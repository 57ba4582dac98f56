#pragma once
// INI profile files:
//   [Section]
//   Key=Value
// Sections and keys are case-insensitive; the first occurrence wins on reading; comments start
// with ";" and are kept on rewriting. A file that is missing or cannot be read gives the defaults.
// Every write re-reads the file under a lock on "<file>.lock" and rewrites it atomically, changing
// only the one line, so lines it does not understand are kept byte for byte. A file that exists
// but cannot be read is never rewritten.
#include <string>
#include <vector>

namespace platform {

class IniFile {
  public:
    explicit IniFile(std::string path);
    const std::string& Path() const { return path_; }

    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& def) const;
    // A value that is not a whole number gives `def`.
    int ReadInteger(const std::string& section, const std::string& key, int def) const;
    // "0" is false, any other whole number true; anything else gives `def`.
    bool ReadBool(const std::string& section, const std::string& key, bool def) const;
    bool SectionExists(const std::string& section) const;
    std::vector<std::string> ReadSection(const std::string& section) const;  // key names

    // False when the file cannot be written (the folder is created when missing), when it exists
    // but cannot be read, or when a name or the value would not fit on one line (a line break,
    // "=" in the key, "]" in the section); the old file is then left as it was.
    bool WriteString(const std::string& section, const std::string& key, const std::string& value);
    bool WriteInteger(const std::string& section, const std::string& key, int value);
    bool WriteBool(const std::string& section, const std::string& key, bool value);

  private:
    std::string path_;
};

}  // namespace platform
