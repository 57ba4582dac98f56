// The registry-export text of a hive. Strings escape "\" and the double quote as usual, and also
// line breaks and NUL ("\n", "\r", "\0"), so that every value fits on its line; binary values
// wrap after a "," with a "\" at the end of the line.
#include <algorithm>
#include <cstdio>

#include "platform/hive_names.h"
#include "platform/registry.h"

namespace platform {
namespace {

constexpr const char* kHeader = "Windows Registry Editor Version 5.00";
constexpr size_t kWrapColumn = 76;

void AppendEscaped(std::string& out, const std::string& text) {
    out += '"';
    for (char c : text) {
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '"':
                out += "\\\"";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\0':
                out += "\\0";
                break;
            default:
                out += c;
        }
    }
    out += '"';
}

void AppendBinary(std::string& out, const std::vector<uint8_t>& bytes) {
    out += "hex:";
    size_t column = out.size() - out.rfind('\n') - 1;
    char digits[4];
    for (size_t i = 0; i < bytes.size(); ++i) {
        std::snprintf(digits, sizeof digits, "%02x", bytes[i]);
        out += digits;
        column += 2;
        if (i + 1 == bytes.size()) break;
        out += ',';
        ++column;
        if (column >= kWrapColumn) {
            out += "\\\n  ";
            column = 2;
        }
    }
}

void AppendValue(std::string& out, const std::string& name, const RegistryValue& value) {
    if (name.empty())
        out += '@';
    else
        AppendEscaped(out, name);
    out += '=';
    switch (value.type) {
        case RegistryValue::Type::Dword: {
            char digits[16];
            std::snprintf(digits, sizeof digits, "dword:%08x", static_cast<unsigned>(value.dword));
            out += digits;
            break;
        }
        case RegistryValue::Type::String:
            AppendEscaped(out, value.text);
            break;
        case RegistryValue::Type::Binary:
            AppendBinary(out, value.binary);
            break;
    }
    out += '\n';
}

// Parents before children: "\" sorts below every other character.
bool HierarchyLess(const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        unsigned ux = x == '\\' ? 0u : static_cast<unsigned char>(x) + 1u;
        unsigned uy = y == '\\' ? 0u : static_cast<unsigned char>(y) + 1u;
        return ux < uy;
    });
}

}  // namespace

std::string Hive::Serialize() const {
    std::vector<const std::string*> order;
    order.reserve(keys_.size());
    for (const auto& entry : keys_) order.push_back(&entry.first);
    std::sort(order.begin(), order.end(),
              [](const std::string* a, const std::string* b) { return HierarchyLess(*a, *b); });
    std::string out = std::string(kHeader) + "\n\n";
    for (const std::string* lower : order) {
        const Key& key = keys_.at(*lower);
        out += '[' + key.path + "]\n";
        for (const auto& [lowerName, entry] : key.values)
            AppendValue(out, entry.first, entry.second);
        out += '\n';
    }
    return out;
}

}  // namespace platform
