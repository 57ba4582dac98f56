#pragma once
// Reads a whole source file into memory. Only regular files are read (a pipe or a device with the
// right name would block or never end), and only up to `maxBytes`, so a wrongly named huge file
// gives an error instead of exhausting memory.
#include <cstdint>
#include <string>

// Raises DvdParseError naming `path` when the file is missing, not a regular file, larger than
// `maxBytes` or cannot be read to its end. `kind` names the file in messages ("IFO file").
std::string ReadFileBytes(const std::string& path, uint64_t maxBytes, const char* kind);
