#pragma once
// Small text operations the source readers share. Positions count from 1, as the reading rules of
// the stream information file are stated; every operation takes any position or length and never
// reads outside its text.
#include <cstdint>
#include <optional>
#include <string>

// Without blanks and control characters (bytes up to 0x20, and 0x7F) at either end.
std::string TrimText(const std::string& text);

// Up to `count` characters from position `from`; empty when the range starts past the end or
// `count` is not positive. A start before 1 counts from 1.
std::string CopyText(const std::string& text, int64_t from, int64_t count);

// Position of the first `what` in `text`, 0 when there is none.
int64_t PositionOf(const std::string& what, const std::string& text);

// A hexadecimal number of one to seven digits (either case) and nothing else.
std::optional<int32_t> HexNumber(const std::string& text);
// A decimal number with an optional sign, within 32 bits, and nothing else.
std::optional<int32_t> DecimalNumber(const std::string& text);
