#include "encoder/TextFiles.h"

#include <stdexcept>

#include "platform/files.h"
#include "platform/text_lines.h"

TTextLines LoadLinesKeepingEnds(const std::string& path) {
    std::string text;
    if (!platform::ReadFileText(path, text))
        throw std::runtime_error("Cannot read the file " + path + ".");
    TTextLines out;
    out.Crlf = text.find("\r\n") != std::string::npos || text.find('\n') == std::string::npos;
    out.Lines = platform::SplitLines(text);
    return out;
}

void SaveLinesKeepingEnds(const TTextLines& text, const std::string& path) {
    const char* end = text.Crlf ? "\r\n" : "\n";
    std::string all;
    for (const std::string& line : text.Lines) all += line + end;
    if (!platform::WriteFileText(path, all))
        throw std::runtime_error("Cannot write the file " + path + ".");
}

std::vector<std::string> LoadTextLines(const std::string& path) {
    return LoadLinesKeepingEnds(path).Lines;
}

void SaveTextLines(const std::vector<std::string>& lines, const std::string& path) {
    SaveLinesKeepingEnds(TTextLines{lines, true}, path);
}
