// Test child standing in for the job runner, for the stage tests and the whole runs alike. It
// records its command line (StageFake.h) and, when DECIDE_FAKE_DIR names a folder, appends it to
// calls.txt there too. It leaves what the real runner would, from files prepared in that folder:
//   /nowrite on "_.avs"       appends interlace<N>.log (N = 1, 2, ... per analysis) to the log
//                             beside the job
//   /nowrite on "_test.avs"   sends every line of debug.txt as a debug string
//   /log"<file>"              copies comptest.frames (test output) or pass.frames there
//   otherwise                 links or copies <name of the output> or else out.avi to the job's
//                             output; without either it writes STAGE_PART_BYTES bytes (100)
// With STAGE_PROGRESS=<n> it first prints "progress <i> <n>" for i = 0 to n, as the runner does.
#include <filesystem>
#include <iostream>
#include <sstream>

#include "StageFake.h"
#include "platform/debug_channel.h"

namespace fs = std::filesystem;

namespace {

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The quoted argument of the job call `call` ("VirtualDub.Open" ...).
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

// A prepared file of the output's own name wins over the common one. Outputs can be large sparse
// files, so they are linked where the file system allows it.
void WriteOutput(const fs::path& fake, const fs::path& output) {
    fs::path source = fake / output.filename();
    if (fake.empty() || !fs::exists(source)) source = fake / "out.avi";
    if (fake.empty() || !fs::exists(source)) {
        stagefake::WriteBytes(output, stagefake::SizeFrom("STAGE_PART_BYTES", 100));
        return;
    }
    std::error_code ec;
    fs::remove(output, ec);
    fs::create_hard_link(source, output, ec);
    if (ec) fs::copy_file(source, output, fs::copy_options::overwrite_existing);
}

void PrintProgress() {
    const std::string total = stagefake::Env("STAGE_PROGRESS");
    if (total.empty()) return;
    for (int i = 0; i <= std::stoi(total); ++i)
        std::cout << "progress " << i << ' ' << total << '\n';
    std::cout.flush();
}

}  // namespace

int main() {
    if (!stagefake::Begin()) return 0;
    PrintProgress();
    const fs::path fake = stagefake::Env("DECIDE_FAKE_DIR");
    if (!fake.empty())
        std::ofstream(fake / "calls.txt", std::ios::app) << platform::CommandLine() << "\n";
    std::string jobFile, logFile;
    bool nowrite = false;
    for (const std::string& arg : stagefake::Args()) {
        if (arg.rfind("/s", 0) == 0) jobFile = arg.substr(2);
        if (arg.rfind("/log", 0) == 0) logFile = arg.substr(4);
        if (arg == "/nowrite") nowrite = true;
    }
    const std::string job = ReadAll(jobFile);
    const std::string input = JobArgument(job, "VirtualDub.Open");
    const std::string output = JobArgument(job, "VirtualDub.SaveAVI");
    if (nowrite) {
        if (fake.empty()) return 2;
        Analysis(fake, input, fs::path(jobFile).parent_path());
        return 0;
    }
    if (!logFile.empty() && !fake.empty()) {
        const bool test = output.find("_comptest.avi") != std::string::npos;
        fs::copy_file(fake / (test ? "comptest.frames" : "pass.frames"), logFile,
                      fs::copy_options::overwrite_existing);
    }
    if (output.empty()) return 2;
    WriteOutput(fake, output);
    return 0;
}
