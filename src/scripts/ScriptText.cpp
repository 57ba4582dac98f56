#include "scripts/ScriptText.h"

#include <stdexcept>

#include "scripts/ToolPaths.h"

std::string LoadPluginLine(const TScriptEnvironment& env, const std::string& pluginFile) {
    return "LoadPlugin(" + QuotedScriptPath(FilterPluginPath(env.ProgramDir, pluginFile)) + ")";
}

std::string QuotedScriptPath(const std::string& path) {
    if (path.find_first_of("\"\r\n") != std::string::npos)
        throw std::invalid_argument("The path \"" + path +
                                    "\" holds a double quote or a line break, which a script "
                                    "cannot hold.");
    return "\"" + path + "\"";
}
