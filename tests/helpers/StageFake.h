#pragma once
// Shared by the stand-ins for the tools the stages drive: each appends the command line it was
// started with to the file named by STAGE_LOG and leaves the files the real tool would leave,
// unless STAGE_LEAVE_NOTHING is set (the tool "failed").
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "platform/process.h"

namespace stagefake {

inline std::string Env(const char* name, const std::string& fallback = "") {
    const char* v = std::getenv(name);
    return v && *v ? v : fallback;
}

// Records the command line; false when the tool is to leave nothing.
inline bool Begin() {
    const std::string log = Env("STAGE_LOG");
    if (!log.empty()) std::ofstream(log, std::ios::app) << platform::CommandLine() << "\n";
    return Env("STAGE_LEAVE_NOTHING").empty();
}

inline std::vector<std::string> Args() {
    return platform::SplitCommandLine(platform::CommandLine());
}

inline void WriteBytes(const std::string& path, size_t count, char fill = 'x') {
    std::ofstream(path, std::ios::binary) << std::string(count, fill);
}

inline size_t SizeFrom(const char* name, size_t fallback) {
    const std::string v = Env(name);
    return v.empty() ? fallback : size_t(std::stoull(v));
}

}  // namespace stagefake
