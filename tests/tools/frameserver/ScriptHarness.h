#pragma once
// Runs script text in-process with the test source plugin loaded and a Note(value) function
// that records string(value), so a test can see what a script computed.
#include <memory>
#include <string>
#include <vector>

#include "language/Interpreter.h"

namespace fstest {

struct ScriptRun {
    std::unique_ptr<fsrv::script::Interpreter> interpreter;
    std::shared_ptr<std::vector<std::string>> notes = std::make_shared<std::vector<std::string>>();
    fsrv::ClipPtr clip;
    std::string error;  // the ScriptError's text when the script failed
};

// The script is named "t.avs" in messages; its first line is line 1.
ScriptRun RunScript(const std::string& text);

// The value of one expression as string() writes it, or the error text.
std::string Evaluate(const std::string& expression);

// Luma sample (x, y) of frame n.
int LumaAt(const fsrv::ClipPtr& clip, int n, int x, int y);

// Where the generated clips are (tests/media/make_frameserver_clips.sh); "" when ffmpeg is
// missing (skip) or the script failed (reported as a failure).
std::string ClipsFolder();

}  // namespace fstest
