#include "host/OpenScript.h"

#include "platform/files.h"

namespace fsrv {
namespace {

std::string BaseName(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

void CheckDescription(const std::string& name, const VideoInfo& vi) {
    if (vi.width <= 0 || vi.height <= 0 || vi.width % 2 || vi.height % 2 || vi.frameCount <= 0 ||
        vi.fpsNumerator == 0 || vi.fpsDenominator == 0)
        throw Error(name + ": the script's clip is unusable (" + std::to_string(vi.width) + "x" +
                    std::to_string(vi.height) + ", " + std::to_string(vi.frameCount) + " frames, " +
                    std::to_string(vi.fpsNumerator) + "/" + std::to_string(vi.fpsDenominator) +
                    " frames per second)");
}

}  // namespace

std::shared_ptr<ScriptState> OpenScript(const std::string& path) {
    const int64_t size = platform::FileSize(path);
    if (size > int64_t(kMaxScriptBytes))
        throw Error(path + ": the script is larger than " + std::to_string(kMaxScriptBytes >> 20) +
                    " MB");
    std::string text;
    if (size < 0 || !platform::ReadFileText(path, text) || text.size() > kMaxScriptBytes)
        throw Error(path + ": the script cannot be read");
    // A byte-order mark is no part of the script.
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) text.erase(0, 3);
    auto state = std::make_shared<ScriptState>();
    state->name = BaseName(path);
    state->interpreter = std::make_unique<script::Interpreter>(state->name);
    state->clip = state->interpreter->Run(text);
    CheckDescription(state->name, state->clip->Info());
    return state;
}

}  // namespace fsrv
