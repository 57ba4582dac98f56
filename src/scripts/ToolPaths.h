#pragma once
// Where the tools the scripts and command lines name live below the program folder, and the
// command lines the job runner is started with. Built here so that the start-up checks, the
// scripts and the stages all use the same texts.
#include <string>

// `programDir` + "/" + `relative`, without doubling a separator the folder already ends in.
std::string ToolPath(const std::string& programDir, const std::string& relative);

// A frame-server plugin, e.g. FilterPluginPath(dir, "decomb.dll") = dir + "/filters/decomb.dll".
std::string FilterPluginPath(const std::string& programDir, const std::string& pluginFile);

// The job runner's location below the program folder (before taking its short form).
std::string VDubModLocation(const std::string& programDir);

// The three ways the job runner is started.
enum class TVDubModRun {
    Analysis,  // interlace analysis, hybrid test: nothing is written
    Logged,    // compressibility test, XviD first pass: frames.log in the temporary folder
    Plain,     // single pass, DivX first pass, second pass, split
};

// `vdubPath` is the runner's short path (it holds no blanks, so it is not quoted); `tempDir` is
// the temporary folder, with or without its trailing separator.
std::string VDubModCommandLine(TVDubModRun run, const std::string& vdubPath,
                               const std::string& jobFile, const std::string& tempDir);
// The same with the program-wide VDubModPath.
std::string VDubModCommandLine(TVDubModRun run, const std::string& jobFile,
                               const std::string& tempDir);
