#include "PlayerMedia.h"

#include <filesystem>
#include <sstream>

namespace playertest {

void InstallFilters(const std::string& programDir) {
    const std::filesystem::path filters = std::filesystem::path(programDir) / "filters";
    std::filesystem::create_directories(filters);
    std::filesystem::copy_file(FS_SOURCE_PLUGIN, filters / "mpeg2dec3dg.dll");
    for (const char* name : {"decomb", "chr", "autocrop", "undot", "kerneldeint", "vsfilter"})
        std::filesystem::copy_file(FS_STANDIN_PLUGIN, filters / (std::string(name) + ".dll"));
}

void SavePreviewScript(const std::string& path, const std::string& source, int outWidth,
                       const std::string& programDir) {
    TMovieScriptParams run;
    run.D2VFile = source;
    run.OutWidth = outWidth;
    run.ResizeTemplate = "LanczosResize(%s,%s)";
    run.SourceType = stProgressive;
    run.PixelAspect = 0.911392405063291;  // NTSC 4:3
    TScriptEnvironment env;
    env.ProgramDir = programDir;
    env.HasSSE = true;
    TScriptLines lines;
    MakeMovieScript(lines, run, TMovieScriptUse::Preview, env);
    SaveScript(lines, path);
}

std::string SaveScriptText(const std::string& path, const std::string& text) {
    TScriptLines lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    SaveScript(lines, path);
    return path;
}

std::string DecodeLines(const std::string& programDir, const std::string& source) {
    return "LoadPlugin(\"" + programDir + "/filters/mpeg2dec3dg.dll\")\nmpeg2source(\"" + source +
           "\")\n";
}

}  // namespace playertest
