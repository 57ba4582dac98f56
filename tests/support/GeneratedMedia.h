#pragma once
// Test media made at test time by the scripts in tests/media/, once per build folder: the script
// runs into MOVREX_BUILD_DIR/media/<name>/ and keeps what it made there until it changes.
#include <string>

namespace testing_support {

struct GeneratedMedia {
    std::string Folder;      // where the media are, when they were made
    std::string SkipReason;  // a tool the script needs is missing: skip, do not fail
    std::string Error;       // the script failed: the end of its output
};

// Runs tests/media/<script> with the output folder as its argument. Safe to call from several
// test processes at once: the scripts lock their output folder.
GeneratedMedia MakeMedia(const std::string& script, const std::string& name);

}  // namespace testing_support

namespace testing_support {

// The staged installation of this build folder (MOVREX_BUILD_DIR/dist), with the real helper
// programs; suites declared NEEDS_DIST run after the install step has refreshed it.
inline std::string DistDir() {
    return MOVREX_DIST_DIR;
}

}  // namespace testing_support
