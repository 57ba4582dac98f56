#pragma once
// Shell commands from the tests: independent tools (ffmpeg, ffprobe, 7z) and installed programs.
#include <string>

namespace testing_support {

struct ProgramRun {
    int status = -1;     // exit status; -1 when the command did not end normally
    std::string output;  // standard output, and standard error unless it was left out
};

// A shell command's output and exit status; `withErrors` adds its standard error to the output.
ProgramRun Shell(const std::string& command, bool withErrors = true);
// `text` quoted for the shell.
std::string Quoted(const std::string& text);

}  // namespace testing_support
