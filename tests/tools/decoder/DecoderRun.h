#pragma once
// The installed decoder plugin on the generated titles: indexes made by the installed indexer
// (rewritten by the planner's own code where a test wants another field operation), frames
// served in-process through the frame server, and ffmpeg's decode of the same VOB to judge them.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "frameserver_plugin.h"
#include "language/Interpreter.h"
#include "support/Shell.h"

namespace decoder_test {

// The generated DVD titles (tests/media/make_dvd_titles.sh); skips when a tool is missing.
#define DECODER_TITLES(folder)                         \
    const std::string folder = decoder_test::Titles(); \
    if (folder.empty()) GTEST_SKIP() << "the DVD test titles cannot be made here"
std::string Titles();

// Indexes `vob` as the planner's indexing stage does; `<base>.d2v`, or "" after a failure.
std::string IndexTitle(const std::string& vob, const std::string& base);
// A copy of the index with its field operation line (and with forced FILM its frame rate line)
// rewritten by the planner's own code; returns the copy's path.
std::string WithFieldOperation(const std::string& d2v, int fieldOperation);
// The frame count the planner expects from the index for that field operation.
int64_t PlannerFrameCount(const std::string& d2v, int fieldOperation, bool pal);

// mpeg2source(path) through the installed plugin, with the script's error when it failed.
struct Source {
    std::unique_ptr<fsrv::script::Interpreter> interpreter;
    fsrv::ClipPtr clip;
    std::string error;
};
Source OpenSource(const std::string& d2v);

// A checksum of a frame's visible pixels, Y then U then V row by row, as raw video lays them out.
uint64_t Checksum(const fsrv::Frame& frame);
std::vector<uint64_t> ServeInOrder(fsrv::Clip& clip);
// The same frames fetched in a shuffled order, listed by frame number.
std::vector<uint64_t> ServeShuffled(fsrv::Clip& clip);
// ffmpeg's decode of the VOB's video through `filter` ("null" for the plain coded frames).
std::vector<uint64_t> FfmpegChecksums(const std::string& vob, const std::string& filter, int width,
                                      int height);

std::string Shell(const std::string& command);
using testing_support::Quoted;

}  // namespace decoder_test
