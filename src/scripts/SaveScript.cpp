#include <stdexcept>

#include "platform/files.h"
#include "scripts/avs.h"

std::string ScriptFileText(const TScriptLines& lines) {
    std::string text;
    for (const auto& line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

void SaveScript(const TScriptLines& lines, const std::string& path) {
    if (!platform::WriteFileText(path, ScriptFileText(lines)))
        throw std::runtime_error("Cannot write the script file \"" + path + "\"");
}
