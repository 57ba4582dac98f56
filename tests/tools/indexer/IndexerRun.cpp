#include "IndexerRun.h"

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <sstream>

#include "platform/process.h"
#include "support/GeneratedMedia.h"
#include "support/TestEnv.h"

namespace indexer_test {

std::string Titles() {
    const testing_support::GeneratedMedia media =
        testing_support::MakeMedia("make_dvd_titles.sh", "dvd");
    EXPECT_TRUE(media.Error.empty()) << media.Error;
    return media.Folder;
}

std::string IndexerPath() {
    return testing_support::DistDir() + "/DVD2AVI/DVD2AVIdg.exe";
}

std::string ReadFile(const std::string& path) {
    return testing_support::ReadAll(path);
}

IndexerRun RunIndexer(const std::string& vob, const std::string& base, int track,
                      int outputMethod) {
    std::string line = IndexerPath() + " -AIF=[" + vob + "] -IA=3 -FO=0 -YR=1";
    if (track > 0) line += " -TN=" + std::to_string(track);
    line +=
        " -OM=" + std::to_string(outputMethod) + " -DRC=0 -DSD=0 -DSA=0 -OF=[" + base + "] -Exit";
    // As the planner's runner starts it: the whole line in the environment, argv split from it.
    std::string command = "MOVREX_COMMAND_LINE=" + Quoted(line);
    for (const std::string& arg : platform::SplitCommandLine(line)) command += " " + Quoted(arg);
    testing_support::TempDir dir;
    command += " >/dev/null 2>" + Quoted(dir.File("errors"));
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFile(dir.File("errors"))};
}

std::string Output(const std::string& command) {
    const testing_support::ProgramRun run = testing_support::Shell(command, false);
    EXPECT_EQ(run.status, 0) << command;
    return run.output;
}

std::string OnlyFileStartingWith(const std::string& folder, const std::string& prefix) {
    std::string found;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind(prefix, 0) != 0) continue;
        if (!found.empty()) return "";
        found = entry.path().string();
    }
    return found;
}

namespace {

// The value of `key` in a line of ffprobe's compact output ("frame|key=value|...").
std::string Field(const std::string& line, const std::string& key) {
    const size_t at = line.find("|" + key + "=");
    if (at == std::string::npos) return "?";
    const size_t from = at + key.size() + 2;
    return line.substr(from, line.find('|', from) - from);
}

}  // namespace

std::vector<std::string> ProbedFrames(const std::string& vob) {
    std::istringstream lines(
        Output("ffprobe -v error -select_streams v:0 -show_entries "
               "frame=pict_type,top_field_first,repeat_pict,interlaced_frame -of compact " +
               Quoted(vob)));
    std::vector<std::string> frames;
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("frame|", 0) != 0) continue;
        line += "|";
        frames.push_back(Field(line, "pict_type") + " t" + Field(line, "top_field_first") + " r" +
                         Field(line, "repeat_pict") + " p" +
                         (Field(line, "interlaced_frame") == "0" ? "1" : "0"));
    }
    return frames;
}

int64_t ProbedPictureCount(const std::string& vob) {
    return std::atoll(Output("ffprobe -v error -select_streams v:0 -count_packets -show_entries "
                             "stream=nb_read_packets -of csv=p=0 " +
                             Quoted(vob))
                          .c_str());
}

double ProbedStartTime(const std::string& vob, const std::string& stream) {
    return std::atof(Output("ffprobe -v error -select_streams " + stream +
                            " -show_entries stream=start_time -of csv=p=0 " + Quoted(vob))
                         .c_str());
}

}  // namespace indexer_test
