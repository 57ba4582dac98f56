#pragma once
// Pieces shared by the frame-server script builders.
#include <string>

#include "scripts/avs.h"

// LoadPlugin("<tools>/filters/<file>")
std::string LoadPluginLine(const TScriptEnvironment& env, const std::string& pluginFile);

// `path` between double quotes, unchanged. A script string has no escapes, so a path holding a
// double quote or a line break would end the string early and turn the rest into script code;
// such a path is refused with std::invalid_argument naming it.
std::string QuotedScriptPath(const std::string& path);
