#pragma once
// A text file as lines, for the few tool files the run edits in place (the subtitle index) and
// keeps in the line ends it came with.
#include <string>
#include <vector>

struct TTextLines {
    std::vector<std::string> Lines;
    bool Crlf = true;  // the line end the file used, kept when it is saved again
};

// Cuts text at LF, dropping a CR before it; a last line without a line end counts.
std::vector<std::string> SplitLines(const std::string& text);

// Raises an error naming the file when it cannot be read.
TTextLines LoadLinesKeepingEnds(const std::string& path);
// Raises an error naming the file when it cannot be written.
void SaveLinesKeepingEnds(const TTextLines& text, const std::string& path);
