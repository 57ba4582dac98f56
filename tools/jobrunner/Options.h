#pragma once
// The command line: VirtualDubMod.exe [/nowrite] [/log"FILE"] /x /s"JOB"
//   /s"JOB"     runs the job script JOB (required)
//   /x          ends the program when the job is done (it always does)
//   /nowrite    serves every frame and writes nothing
//   /log"FILE"  writes FILE: one line per frame written, its type and its size in bytes
// Switches are not case-sensitive; the quotes keep blanks in a path, and "/s JOB" with the path
// as the next word is read too.
#include <string>

namespace jobrunner {

struct Options {
    std::string jobScript;
    std::string framesLog;
    bool noWrite = false;
};

// Throws std::invalid_argument naming the word that is wrong.
Options ParseOptions(const std::string& commandLine);

}  // namespace jobrunner
