#pragma once
// A script file made ready to serve: read, run, and kept with everything its clip needs.
#include <memory>
#include <string>

#include "frameserver_plugin.h"
#include "language/Interpreter.h"

namespace fsrv {

// Owned jointly by the host's handle and every frame it handed out, so that the plugins stay
// loaded until the last frame is released.
struct ScriptState {
    std::string name;  // the file name errors give
    std::unique_ptr<script::Interpreter> interpreter;
    ClipPtr clip;  // declared after the interpreter: goes first
};

// Largest script file read; the planner's scripts are a few hundred bytes.
inline constexpr size_t kMaxScriptBytes = size_t(1) << 20;

// Throws Error (ScriptError for the script's own faults) naming the file.
std::shared_ptr<ScriptState> OpenScript(const std::string& path);

}  // namespace fsrv
