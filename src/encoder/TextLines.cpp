#include "encoder/TextLines.h"

#include <stdexcept>

#include "platform/files.h"

TTextLines LoadTextLines(const std::string& path) {
    std::string text;
    if (!platform::ReadFileText(path, text))
        throw std::runtime_error("Cannot open file " + path + ".");
    TTextLines out;
    out.Crlf = text.find("\r\n") != std::string::npos || text.find('\n') == std::string::npos;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        out.Lines.push_back(line);
        start = end + 1;
    }
    return out;
}

void SaveTextLines(const TTextLines& text, const std::string& path) {
    const char* end = text.Crlf ? "\r\n" : "\n";
    std::string all;
    for (const std::string& line : text.Lines) all += line + end;
    if (!platform::WriteFileText(path, all))
        throw std::runtime_error("Cannot write file " + path + ".");
}
