#include "support/GeneratedMedia.h"

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>

#include "support/MediaChecks.h"
#include "support/TestEnv.h"

namespace testing_support {

namespace {

// The scripts live in tests/media/ of the source tree.
std::string ScriptPath(const std::string& script) {
    return std::string(MOVREX_TEST_SOURCE_DIR) + "/media/" + script;
}

std::string LastLines(const std::string& text, size_t count) {
    size_t at = text.size();
    while (count-- > 0 && at > 0) at = text.rfind('\n', at - 1);
    return at == std::string::npos ? text : text.substr(at);
}

}  // namespace

GeneratedMedia MakeMedia(const std::string& script, const std::string& name) {
    const std::string media = std::string(MOVREX_BUILD_DIR) + "/media";
    std::filesystem::create_directories(media);
    const std::string folder = media + "/" + name;
    const std::string log = media + "/" + name + ".log";
    const std::string command =
        "bash " + Quoted(ScriptPath(script)) + " " + Quoted(folder) + " >" + Quoted(log) + " 2>&1";
    const int status = std::system(command.c_str());
    const int code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    GeneratedMedia result;
    if (code == 0) {
        result.Folder = folder;
    } else if (code == 77) {
        result.SkipReason = script + ": " + LastLines(ReadAll(log), 1);
    } else {
        result.Error = script + " failed (" + std::to_string(code) + "), see " + log + ":" +
                       LastLines(ReadAll(log), 20);
    }
    return result;
}

}  // namespace testing_support
