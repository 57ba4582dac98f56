#include "encoder/ScriptFile.h"

#include <stdexcept>

#include "platform/files.h"

void SaveScriptLines(const std::vector<std::string>& lines, const std::string& path) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    if (!platform::WriteFileText(path, text))
        throw std::runtime_error("Cannot create file \"" + path + "\".");
}
