#pragma once
// The log writer of the analysis script: each call appends one whole line to a text file.
#include <string>

namespace logwrite {

// Writes `text` and CR LF to `path` with a single write, appending or (append false) replacing
// the file. A write that fails or falls short is undone (the file keeps its earlier lines) and
// raises fsrv::Error naming the file.
void WriteLine(const std::string& path, const std::string& text, bool append);

}  // namespace logwrite
