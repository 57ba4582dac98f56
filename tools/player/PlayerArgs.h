#pragma once
// The player's command line: mplayer2.exe [--frame N] [--save FILE.png] SCRIPT
//   SCRIPT          the frame-server script to open (the planner passes only this)
//   --frame N       start at frame N, paused (frames count from 0)
//   --save FILE     write frame N (0 without --frame) to FILE as a picture and end, no window;
//                   the picture format follows FILE's extension, PNG when it has none
#include <optional>
#include <string>
#include <vector>

namespace player {

struct PlayerArgs {
    std::string script;
    int frame = -1;  // -1: not given
    std::string savePath;
    bool help = false;
};

inline constexpr const char* kUsage =
    "usage: mplayer2.exe [--frame N] [--save FILE.png] SCRIPT\n"
    "  plays the frame-server script SCRIPT in a window (space: play or pause, arrows: one\n"
    "  frame back or on, Home/End: first or last frame)\n"
    "  --frame N    start at frame N (counting from 0), paused\n"
    "  --save FILE  write that frame to FILE as a picture (PNG unless the extension says\n"
    "               otherwise) and end, without a window\n";

// The arguments after the program name; nullopt with `error` saying what is wrong.
std::optional<PlayerArgs> ParsePlayerArgs(const std::vector<std::string>& args, std::string& error);

}  // namespace player
