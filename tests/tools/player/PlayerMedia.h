#pragma once
// What the player's tests play: the installation's filters/ folder in a temporary folder, with
// the test source standing in for the decoder (it reads a YUV4MPEG2 file where the planner's
// scripts name the index) and the pass-through stand-ins under the other filters' names, and
// scripts saved as the planner saves them. When the decoder plugin lands, a real title's index
// replaces the .y4m and the source plugin's copy goes.
#include <string>

#include "scripts/avs.h"
#include "support/TestEnv.h"

namespace playertest {

// Fills `programDir`/filters/ with the plugins the planner's scripts load.
void InstallFilters(const std::string& programDir);

// The preview script the planner writes for `source`, at `outWidth` for an NTSC 4:3 title,
// saved as `path`.
void SavePreviewScript(const std::string& path, const std::string& source, int outWidth,
                       const std::string& programDir);

// Saves `text` as a script (CR LF line ends, as the planner writes them); returns the path.
std::string SaveScriptText(const std::string& path, const std::string& text);

// The two lines that load the decoder from `programDir`/filters/ and decode `source`.
std::string DecodeLines(const std::string& programDir, const std::string& source);

}  // namespace playertest
