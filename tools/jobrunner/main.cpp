// The job runner: runs one job script of the planner (see README.md).
#include <csignal>
#include <cstdio>
#include <exception>

#include "Options.h"
#include "RunJob.h"
#include "platform/process.h"

extern "C" {
#include <libavutil/log.h>
}

int main() {
    av_log_set_level(AV_LOG_QUIET);  // what is wrong is said by the job runner, with its file
    // A file grown past the size limit fails its write, like a full disk, instead of ending the
    // program before it can clean up.
    std::signal(SIGXFSZ, SIG_IGN);
    jobrunner::Options options;
    try {
        options = jobrunner::ParseOptions(platform::CommandLine());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "jobrunner: error: the command line: %s\n", e.what());
        return 2;
    }
    try {
        jobrunner::RunJob(options, [](const std::string& warning) {
            std::fprintf(stderr, "jobrunner: warning: %s\n", warning.c_str());
        });
    } catch (const std::exception& e) {
        std::fprintf(stderr, "jobrunner: error: %s\n", e.what());
        return 1;
    }
    return 0;
}
