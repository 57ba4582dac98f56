#pragma once
// A text file as lines, for the few tool files the run edits in place.
#include <string>
#include <vector>

struct TTextLines {
    std::vector<std::string> Lines;
    bool Crlf = true;  // the line end the file used, kept when it is saved again
};

// Raises an error naming the file when it cannot be read.
TTextLines LoadTextLines(const std::string& path);
// Raises an error naming the file when it cannot be written.
void SaveTextLines(const TTextLines& text, const std::string& path);
