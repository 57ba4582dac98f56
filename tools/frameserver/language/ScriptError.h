#pragma once
// An error that already names the script file and line; it passes unchanged through every caller
// up to the host, so the innermost place (the line that went wrong) is the one reported.
#include <string>

#include "frameserver_plugin.h"

namespace fsrv {

class ScriptError : public Error {
  public:
    ScriptError(const std::string& file, int line, const std::string& what)
        : Error(file + ", line " + std::to_string(line) + ": " + what) {}
};

}  // namespace fsrv
