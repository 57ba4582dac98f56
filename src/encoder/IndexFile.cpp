#include "encoder/IndexFile.h"

#include <stdexcept>

#include "platform/files.h"

std::vector<std::string> LoadTextLines(const std::string& path) {
    std::string text;
    if (!platform::ReadFileText(path, text))
        throw std::runtime_error("Cannot read the file " + path + ".");
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

void SaveTextLines(const std::vector<std::string>& lines, const std::string& path) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    if (!platform::WriteFileText(path, text))
        throw std::runtime_error("Cannot write the file " + path + ".");
}
