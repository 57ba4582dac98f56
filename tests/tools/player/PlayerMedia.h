#pragma once
// What the player's tests play: a real title indexed by the installed indexer and served by the
// installation's decoder and filters, copied into a folder laid out as an installation, and
// scripts saved as the planner saves them.
#include <string>

#include "scripts/avs.h"
#include "support/GeneratedMedia.h"
#include "support/TestEnv.h"

namespace playertest {

// The progressive title of tests/media/make_filter_clips.sh (352x480 4:3, 200 frames at
// 30000/1001) and its index.
struct Title {
    std::string vob;
    std::string d2v;
    std::string skipReason;  // a tool the media need is missing
};

// Indexes the title into `folder` (failing the test when the indexer fails).
Title IndexedTitle(const std::string& folder);

// Fills `programDir`/filters/ with the installation's plugins.
void InstallFilters(const std::string& programDir);

// The preview script the planner writes for the index `d2v`, at `outWidth` for an NTSC 4:3
// title, saved as `path`.
void SavePreviewScript(const std::string& path, const std::string& d2v, int outWidth,
                       const std::string& programDir);

// Saves `text` as a script (CR LF line ends, as the planner writes them); returns the path.
std::string SaveScriptText(const std::string& path, const std::string& text);

// The two lines that load the decoder from `programDir`/filters/ and decode `d2v`.
std::string DecodeLines(const std::string& programDir, const std::string& d2v);

}  // namespace playertest
