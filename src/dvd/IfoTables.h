#pragma once
// The texts that the coded attributes of an IFO file stand for. Every lookup takes any value of
// its bit field: values a table has no text for give kUnknownText instead of reading past it.
#include <span>
#include <string>

inline constexpr const char* kUnknownText = "???";

std::string VideoCodingText(unsigned index);  // 2 bits: "MPEG1", "MPEG2"
std::string StandardText(unsigned index);     // 2 bits: "NTSC", "PAL"
std::string AspectRatioText(unsigned index);  // 2 bits: "4:3", "16:9"
// 2 bits, from the table of `standard`; empty when the standard is neither "NTSC" nor "PAL".
std::string ResolutionText(const std::string& standard, unsigned index);
std::string AudioCodingText(unsigned index);    // 3 bits: "AC3", "MPEG1", "MPEG2", "LPCM", "DTS"
std::string CodeExtensionText(unsigned value);  // 1 byte: "unspecified", "normal", ...

struct LanguageRow {
    const char* Code;  // two characters; row 0 is two blanks, the last row empty
    const char* Name;  // UTF-8
};
// All 144 rows, in search order.
std::span<const LanguageRow> LanguageTable();
// The name of the first row whose code equals `code` exactly; "???" when none does.
std::string LanguageName(const std::string& code);
