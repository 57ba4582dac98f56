#include "encoder/TextLines.h"

#include <stdexcept>

#include "platform/files.h"

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        size_t stop = end;
        if (stop > start && text[stop - 1] == '\r') --stop;
        lines.push_back(text.substr(start, stop - start));
        start = end + 1;
    }
    return lines;
}

TTextLines LoadLinesKeepingEnds(const std::string& path) {
    std::string text;
    if (!platform::ReadFileText(path, text))
        throw std::runtime_error("Cannot read the file " + path + ".");
    TTextLines out;
    out.Crlf = text.find("\r\n") != std::string::npos || text.find('\n') == std::string::npos;
    out.Lines = SplitLines(text);
    return out;
}

void SaveLinesKeepingEnds(const TTextLines& text, const std::string& path) {
    const char* end = text.Crlf ? "\r\n" : "\n";
    std::string all;
    for (const std::string& line : text.Lines) all += line + end;
    if (!platform::WriteFileText(path, all))
        throw std::runtime_error("Cannot write the file " + path + ".");
}
