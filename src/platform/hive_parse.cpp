// Reading the registry-export text of a hive. Every fault names the file and the line; nothing
// is guessed, because a hive read wrongly would be written back wrongly.
#include <cstdlib>

#include "platform/hive_names.h"
#include "platform/registry.h"
#include "platform/text_lines.h"

namespace platform {
namespace {

constexpr const char* kHeader = "Windows Registry Editor Version 5.00";
constexpr const char* kBlanks = " \t";

std::string TrimLeft(const std::string& text) {
    size_t first = text.find_first_not_of(kBlanks);
    return first == std::string::npos ? std::string() : text.substr(first);
}

std::string TrimRight(const std::string& text) {
    size_t last = text.find_last_not_of(kBlanks);
    return last == std::string::npos ? std::string() : text.substr(0, last + 1);
}

std::string Trim(const std::string& text) {
    return TrimLeft(TrimRight(text));
}

bool StartsWithNoCase(const std::string& text, const std::string& lowerPrefix) {
    return detail::AsciiLower(text.substr(0, lowerPrefix.size())) == lowerPrefix;
}

bool IsHexDigits(const std::string& text, size_t maxDigits) {
    if (text.empty() || text.size() > maxDigits) return false;
    return text.find_first_not_of("0123456789abcdefABCDEF") == std::string::npos;
}

class HiveParser {
  public:
    HiveParser(const std::string& text, const std::string& file)
        : lines_(SplitLines(text, {LineBreaks::Lf, true})), file_(file) {}
    Hive Run();

  private:
    [[noreturn]] void Fail(size_t index, const std::string& what) const {
        throw RegistryError(file_ + ":" + std::to_string(index + 1) + ": " + what);
    }
    void ParseKeyLine(size_t index, const std::string& line);
    void ParseValueLine(size_t& index, const std::string& line);
    size_t ParseQuoted(size_t index, const std::string& line, size_t pos, std::string& out) const;
    RegistryValue ParseData(size_t& index, const std::string& line, size_t pos) const;
    std::vector<uint8_t> ParseHex(size_t& index, std::string piece) const;
    void ParseHexItems(size_t index, const std::string& part, bool continues,
                       std::vector<uint8_t>& bytes) const;

    std::vector<std::string> lines_;
    std::string file_;
    Hive hive_;
    std::string key_;  // the key the values belong to; empty before the first key line
};

Hive HiveParser::Run() {
    bool blank = true;
    for (const std::string& line : lines_) blank = blank && Trim(line).empty();
    if (blank) return hive_;  // an empty file is an empty hive
    if (TrimRight(lines_[0]) != kHeader)
        Fail(0, std::string("the first line is not \"") + kHeader + "\"");
    for (size_t index = 1; index < lines_.size(); ++index) {
        std::string line = TrimLeft(lines_[index]);
        if (line.empty() || line[0] == ';') continue;
        if (line[0] == '[')
            ParseKeyLine(index, line);
        else if (line[0] == '"' || line[0] == '@')
            ParseValueLine(index, line);
        else
            Fail(index, "a line that is neither a key nor a value");
    }
    return std::move(hive_);
}

void HiveParser::ParseKeyLine(size_t index, const std::string& line) {
    std::string trimmed = TrimRight(line);
    if (trimmed.size() < 2 || trimmed.back() != ']')
        Fail(index, "the key line does not end in ']'");
    std::string inner = trimmed.substr(1, trimmed.size() - 2);
    std::optional<std::string> path = detail::TryNormalizeKeyPath(inner);
    if (!path) Fail(index, "invalid key path '" + inner + "'");
    if (path->empty()) Fail(index, "empty key path");
    hive_.CreateKey(*path);
    key_ = *path;
}

void HiveParser::ParseValueLine(size_t& index, const std::string& line) {
    if (key_.empty()) Fail(index, "a value before any key");
    std::string name;
    size_t pos = line[0] == '@' ? 1 : ParseQuoted(index, line, 0, name);
    pos = line.find_first_not_of(kBlanks, pos);
    if (pos == std::string::npos || line[pos] != '=') Fail(index, "no '=' after the value name");
    pos = line.find_first_not_of(kBlanks, pos + 1);
    size_t first = index;
    RegistryValue value = ParseData(index, line, pos == std::string::npos ? line.size() : pos);
    if (hive_.GetValue(key_, name))
        Fail(first, "the value '" + name + "' appears twice in its key");
    hive_.SetValue(key_, name, value);
}

// `pos` is at the opening quote; returns the position after the closing one.
size_t HiveParser::ParseQuoted(size_t index, const std::string& line, size_t pos,
                               std::string& out) const {
    out.clear();
    for (size_t i = pos + 1; i < line.size(); ++i) {
        char c = line[i];
        if (c == '"') return i + 1;
        if (c != '\\') {
            out += c;
            continue;
        }
        if (++i == line.size()) break;
        switch (line[i]) {
            case '\\':
                out += '\\';
                break;
            case '"':
                out += '"';
                break;
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            case '0':
                out += '\0';
                break;
            default:
                Fail(index, std::string("unknown escape '\\") + line[i] + "' in a string");
        }
    }
    Fail(index, "unterminated string");
}

RegistryValue HiveParser::ParseData(size_t& index, const std::string& line, size_t pos) const {
    std::string rest = line.substr(pos);
    RegistryValue value;
    if (!rest.empty() && rest[0] == '"') {
        value.type = RegistryValue::Type::String;
        size_t end = ParseQuoted(index, rest, 0, value.text);
        if (!Trim(rest.substr(end)).empty()) Fail(index, "unexpected text after the string");
    } else if (StartsWithNoCase(rest, "dword:")) {
        std::string digits = Trim(rest.substr(6));
        if (!IsHexDigits(digits, 8)) Fail(index, "invalid dword value '" + digits + "'");
        value.type = RegistryValue::Type::Dword;
        value.dword = static_cast<uint32_t>(std::strtoul(digits.c_str(), nullptr, 16));
    } else if (StartsWithNoCase(rest, "hex:")) {
        value.type = RegistryValue::Type::Binary;
        value.binary = ParseHex(index, rest.substr(4));
    } else if (StartsWithNoCase(rest, "hex(")) {
        Fail(index, "unsupported value type '" + rest.substr(0, rest.find(':')) + "'");
    } else if (Trim(rest) == "-") {
        Fail(index, "a value deletion ('=-') has no place in a stored hive");
    } else {
        Fail(index, rest.empty() ? "no data after '='" : "unknown value type");
    }
    return value;
}

// Binary data may go on over the next lines when a line ends in "\".
std::vector<uint8_t> HiveParser::ParseHex(size_t& index, std::string piece) const {
    std::vector<uint8_t> bytes;
    for (;;) {
        std::string part = Trim(piece);
        bool continues = !part.empty() && part.back() == '\\';
        if (continues) part = TrimRight(part.substr(0, part.size() - 1));
        ParseHexItems(index, part, continues, bytes);
        if (!continues) return bytes;
        if (index + 1 >= lines_.size()) Fail(index, "binary data goes on past the end of the file");
        piece = lines_[++index];
    }
}

void HiveParser::ParseHexItems(size_t index, const std::string& part, bool continues,
                               std::vector<uint8_t>& bytes) const {
    if (part.empty()) return;
    size_t start = 0;
    for (;;) {
        size_t comma = part.find(',', start);
        bool last = comma == std::string::npos;
        std::string item = Trim(part.substr(start, last ? std::string::npos : comma - start));
        if (item.empty() && last && start > 0) {
            if (!continues) Fail(index, "binary data ends in ','");
            return;
        }
        if (!IsHexDigits(item, 2)) Fail(index, "invalid byte '" + item + "' in binary data");
        bytes.push_back(static_cast<uint8_t>(std::strtoul(item.c_str(), nullptr, 16)));
        if (last) return;
        start = comma + 1;
    }
}

}  // namespace

Hive Hive::Parse(const std::string& text, const std::string& fileName) {
    return HiveParser(text, fileName).Run();
}

}  // namespace platform
