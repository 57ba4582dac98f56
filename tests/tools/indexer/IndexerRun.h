#pragma once
// Runs the installed indexer as the planner does (one command line, bracketed paths with blanks)
// and the independent tools that judge it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/Shell.h"

namespace indexer_test {

// The generated DVD titles (tests/media/make_dvd_titles.sh); skips the test when a tool that
// makes them is missing.
#define INDEXER_TITLES(folder)                         \
    const std::string folder = indexer_test::Titles(); \
    if (folder.empty()) GTEST_SKIP() << "the DVD test titles cannot be made here"
std::string Titles();

std::string IndexerPath();

struct IndexerRun {
    int status = -1;
    std::string errors;  // what it wrote on standard error
};

// The indexer with " -AIF=[vob] -IA=3 -FO=0 -YR=1 [-TN=n] -OM=m ... -OF=[base] -Exit".
IndexerRun RunIndexer(const std::string& vob, const std::string& base, int track = 0,
                      int outputMethod = 0);

// Standard output of a shell command; fails the test when it cannot run.
std::string Output(const std::string& command);
using testing_support::Quoted;
std::string ReadFile(const std::string& path);

// The one file of `folder` whose name starts with `prefix`; empty when none or several.
std::string OnlyFileStartingWith(const std::string& folder, const std::string& prefix);

// ffprobe's frames of the first video stream in display order: "I t1 r0 p1" (type, top field
// first, repeat_pict, progressive), and its count of coded pictures.
std::vector<std::string> ProbedFrames(const std::string& vob);
int64_t ProbedPictureCount(const std::string& vob);
// ffprobe's start_time of the stream, in seconds.
double ProbedStartTime(const std::string& vob, const std::string& stream);

}  // namespace indexer_test
