#pragma once
// The run's text files as lines: the index file, the analysis log, frames.log, ".credits", and the
// subtitle index, which is edited in place and keeps the line ends it came with. Every error names
// the file.
#include <string>
#include <vector>

struct TTextLines {
    std::vector<std::string> Lines;
    bool Crlf = true;  // the line end the file used, kept when it is saved again
};

// The lines without their line breaks (LF or CR LF). Throws std::runtime_error naming the file
// when it cannot be read.
std::vector<std::string> LoadTextLines(const std::string& path);
// Writes every line followed by CR LF. Throws std::runtime_error naming the file on failure.
void SaveTextLines(const std::vector<std::string>& lines, const std::string& path);

// As LoadTextLines, noting whether the file used CR LF (or had no line end at all).
TTextLines LoadLinesKeepingEnds(const std::string& path);
// Writes every line followed by the line end the file came with.
void SaveLinesKeepingEnds(const TTextLines& text, const std::string& path);
