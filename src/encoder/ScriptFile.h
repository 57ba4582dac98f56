#pragma once
// Scripts and job scripts on disk: one line each, every line ending in CR LF, no byte-order mark.
#include <string>
#include <vector>

// Raises an error naming the file when it cannot be written.
void SaveScriptLines(const std::vector<std::string>& lines, const std::string& path);
