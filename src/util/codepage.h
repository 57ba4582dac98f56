#pragma once
// Narrow character sets. Text in this program is UTF-8 bytes, and the system's "ANSI code page" is
// UTF-8; Windows-1252 is kept so that conversions written against it can be checked.
#include <string>

enum class CodePage { Utf8, Windows1252 };

inline CodePage SystemAnsiCodePage() {
    return CodePage::Utf8;
}

// Converts `text` from `from` to UTF-8. Invalid UTF-8 sequences are replaced by U+FFFD;
// Windows-1252's five unassigned bytes map to the C1 controls of the same value.
std::string ToUtf8(const std::string& text, CodePage from);
