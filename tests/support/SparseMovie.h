#pragma once
// A finished movie for the split tests without the disk space: a sparse AVI of `frames` video
// frames of 1 MiB each, a key frame every 25.
#include <string>

#include "avi/AviTestFile.h"

namespace testing_support {

inline void WriteMovie(const std::string& path, int frames) {
    avitest::AviPlan plan;
    std::string keys;
    for (int i = 0; i < frames; ++i) keys += i % 25 == 0 ? 'K' : '.';
    plan.chunks = avitest::Frames(keys, 1048576);
    plan.sparse = true;
    avitest::MakeAvi(plan).bytes.WriteTo(path);
}

}  // namespace testing_support
