#include "PlayerMedia.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "Commands.h"

namespace playertest {

Title IndexedTitle(const std::string& folder) {
    const auto media = testing_support::MakeMedia("make_filter_clips.sh", "filters");
    EXPECT_EQ(media.Error, "");
    Title title{media.Folder + "/titles/progressive/rip/VTS_01_1.VOB", folder + "/title.d2v",
                media.SkipReason};
    if (!title.skipReason.empty() || !media.Error.empty()) return title;
    const auto indexer = tooltest::Run({testing_support::DistDir() + "/DVD2AVI/DVD2AVIdg.exe",
                                        "-AIF=[" + title.vob + "]", "-OF=[" + folder + "/title]"});
    EXPECT_EQ(indexer.status, 0) << indexer.output;
    return title;
}

void InstallFilters(const std::string& programDir) {
    const std::filesystem::path filters = std::filesystem::path(programDir) / "filters";
    std::filesystem::create_directories(filters);
    for (const auto& plugin :
         std::filesystem::directory_iterator(testing_support::DistDir() + "/filters"))
        std::filesystem::copy_file(plugin.path(), filters / plugin.path().filename());
}

void SavePreviewScript(const std::string& path, const std::string& d2v, int outWidth,
                       const std::string& programDir) {
    TMovieScriptParams run;
    run.D2VFile = d2v;
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

std::string DecodeLines(const std::string& programDir, const std::string& d2v) {
    return "LoadPlugin(\"" + programDir + "/filters/mpeg2dec3dg.dll\")\nmpeg2source(\"" + d2v +
           "\")\n";
}

}  // namespace playertest
