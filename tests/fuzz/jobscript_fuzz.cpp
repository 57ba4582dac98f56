// Reads arbitrary bytes as a job script and makes its job. A fault must end in a JobError that
// names the script and the line, never in a crash, a hang or a read past a buffer.
// clang-format off
// fuzz-sources: tools/jobrunner/ScriptReader.cpp tools/jobrunner/JobStatements.cpp
// fuzz-includes: tools/jobrunner
// clang-format on
#include <cstdint>
#include <cstdlib>
#include <string>

#include "JobStatements.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    try {
        const jobrunner::Job job =
            jobrunner::MakeJob(jobrunner::ReadJobScript(text, "f.vcf"), "f.vcf");
        // A job that reads has its input and output.
        if (job.input.empty() || job.output.empty()) std::abort();
    } catch (const jobrunner::JobError& e) {
        if (std::string(e.what()).rfind("f.vcf", 0) != 0) std::abort();
    }
    return 0;
}
