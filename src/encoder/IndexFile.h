#pragma once
// Text files as lists of lines: the index file, the analysis log, frames.log, ".credits".
#include <string>
#include <vector>

// The lines of a text file, without their line breaks (LF or CR LF). Throws
// std::runtime_error naming the file when it cannot be read.
std::vector<std::string> LoadTextLines(const std::string& path);
// Writes every line followed by CR LF. Throws std::runtime_error naming the file on failure.
void SaveTextLines(const std::vector<std::string>& lines, const std::string& path);
