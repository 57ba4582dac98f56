// Test child standing in for the job runner. It appends its command line to calls.txt in the
// folder named by DECIDE_FAKE_DIR and leaves what the real runner would, from files prepared
// there:
//   /nowrite on "_.avs"       appends interlace<N>.log (N = 1, 2, ... per analysis) to the log
//                             beside the job
//   /nowrite on "_test.avs"   sends every line of debug.txt as a debug string
//   /log"<file>"              copies comptest.frames (test output) or pass.frames there
//   otherwise                 copies out.avi to the job's output file
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/debug_channel.h"
#include "platform/process.h"

namespace fs = std::filesystem;

namespace {

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The quoted argument of the job call `call` ("VirtualDub.Open(" ...).
std::string JobArgument(const std::string& job, const std::string& call) {
    const size_t at = job.find(call + "(\"");
    if (at == std::string::npos) return "";
    const size_t start = at + call.size() + 2;
    return job.substr(start, job.find('"', start) - start);
}

int CountRuns(const fs::path& counter) {
    int n = std::atoi(ReadAll(counter).c_str()) + 1;
    std::ofstream(counter) << n;
    return n;
}

void Analysis(const fs::path& fake, const std::string& input, const fs::path& temp) {
    if (fs::path(input).filename() == "_test.avs") {
        std::istringstream lines(ReadAll(fake / "debug.txt"));
        for (std::string line; std::getline(lines, line);) platform::OutputDebugString(line);
        return;
    }
    const int n = CountRuns(fake / "analyses.txt");
    std::ofstream(temp / "interlace.log", std::ios::app)
        << ReadAll(fake / ("interlace" + std::to_string(n) + ".log"));
}

}  // namespace

int main(int argc, char** argv) {
    const char* dir = std::getenv("DECIDE_FAKE_DIR");
    if (!dir) return 2;
    const fs::path fake(dir);
    std::ofstream(fake / "calls.txt", std::ios::app) << platform::CommandLine() << "\n";
    std::string jobFile, logFile;
    bool nowrite = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("/s", 0) == 0) jobFile = arg.substr(2);
        if (arg.rfind("/log", 0) == 0) logFile = arg.substr(4);
        if (arg == "/nowrite") nowrite = true;
    }
    const std::string job = ReadAll(jobFile);
    const std::string input = JobArgument(job, "VirtualDub.Open");
    const std::string output = JobArgument(job, "VirtualDub.SaveAVI");
    if (nowrite) {
        Analysis(fake, input, fs::path(jobFile).parent_path());
        return 0;
    }
    if (!logFile.empty()) {
        const bool test = output.find("_comptest.avi") != std::string::npos;
        fs::copy_file(fake / (test ? "comptest.frames" : "pass.frames"), logFile,
                      fs::copy_options::overwrite_existing);
    }
    if (!output.empty() && fs::exists(fake / "out.avi"))
        fs::copy_file(fake / "out.avi", output, fs::copy_options::overwrite_existing);
    return 0;
}
