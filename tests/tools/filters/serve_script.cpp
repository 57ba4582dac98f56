// serve_script /nowrite /x /s"<job>": the job runner's part in the planner's analysis runs. It
// reads the frame-server script that the job opens (VirtualDub.Open, its escapes undone) and
// serves every frame of it through the frame server of the system folder, writing nothing, so
// that the analysis log and the debug strings come from a real child process whatever stage
// started it. Status 0 when every frame served, else 1 with the reason on standard error.
#include <cstdio>
#include <fstream>
#include <sstream>

#include "frameserver_library.h"
#include "platform/paths.h"
#include "platform/process.h"

namespace {

// The first argument of the job's VirtualDub.Open call, with "\\" and "\xNN" undone.
std::string OpenedScript(const std::string& job) {
    std::ifstream in(job, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    const std::string all = text.str();
    const std::string call = "VirtualDub.Open(\"";
    size_t at = all.find(call);
    if (at == std::string::npos) return "";
    std::string path;
    for (at += call.size(); at < all.size() && all[at] != '"'; ++at) {
        if (all[at] == '\\' && at + 1 < all.size() && all[at + 1] == 'x' && at + 3 < all.size()) {
            path += char(std::stoi(all.substr(at + 2, 2), nullptr, 16));
            at += 3;
        } else {
            if (all[at] == '\\') ++at;
            if (at < all.size()) path += all[at];
        }
    }
    return path;
}

int Serve(const fshost::Library& fs, const std::string& script) {
    FsScript* s = fs.open(script.c_str());
    FsVideoInfo info{};
    int status = fs.lastError(s)[0] || fs.videoInfo(s, &info) != 0;
    for (int n = 0; n < info.frame_count && status == 0; ++n) {
        const FsFrame* frame = fs.getFrame(s, n);
        status = frame == nullptr;
        fs.releaseFrame(frame);
    }
    if (status) std::fprintf(stderr, "%s\n", fs.lastError(s));
    fs.close(s);
    return status;
}

}  // namespace

int main() {
    std::string job;
    for (const std::string& arg : platform::SplitCommandLine(platform::CommandLine()))
        if (arg.rfind("/s", 0) == 0) job = arg.substr(2);
    const std::string script = OpenedScript(job);
    if (script.empty()) {
        std::fprintf(stderr, "serve_script: no job with a script to open (/s\"%s\")\n",
                     job.c_str());
        return 1;
    }
    std::string whyNot;
    const auto fs = fshost::Library::Load(platform::SystemFolder() + "/avisynth.dll", whyNot);
    if (!fs) {
        std::fprintf(stderr, "%s\n", whyNot.c_str());
        return 1;
    }
    return Serve(*fs, script);
}
