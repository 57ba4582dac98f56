// Jobs as users run them beyond one title: two titles at once with GNU Parallel, a job aborted
// in its second pass, and a job of two CDs split into parts.
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "Conversion.h"
#include "support/GeneratedMedia.h"

extern char** environ;

namespace {

using namespace e2e_test;
namespace fs = std::filesystem;

// The processes whose environment holds `variable`: the helpers a job started inherit it.
std::vector<std::string> ProcessesWith(const std::string& variable) {
    std::vector<std::string> found;
    std::error_code ec;  // processes come and go while the folder is read
    for (const auto& entry : fs::directory_iterator("/proc", ec)) {
        const std::string environment = testing_support::ReadAll(entry.path() / "environ");
        if (environment.find(variable + '\0') == std::string::npos) continue;
        std::string name = testing_support::ReadAll(entry.path() / "comm");
        if (!name.empty() && name.back() == '\n') name.pop_back();
        found.push_back(entry.path().filename().string() + " " + name);
    }
    return found;
}

bool Holds(const std::vector<std::string>& processes, const std::string& name) {
    for (const std::string& p : processes)
        if (p.find(name) != std::string::npos) return true;
    return false;
}

class WholeJobs : public E2eTest {};

TEST_F(WholeJobs, TwoTitlesConvertAtOnceWithGnuParallelEachOnItsOwnSettings) {
    if (Shell("command -v parallel").status != 0) GTEST_SKIP() << "GNU Parallel is not installed";
    // As the README runs a batch: one movrex-cli per title, a configuration folder per job slot.
    const std::string list = dir_.Write("titles", "film xvid\nletterbox divx\n");
    const std::string job = "mkdir -p " + Quoted(dir_.Path()) +
                            "/{1} && MOVREX_CONFIG_DIR=" + Quoted(dir_.Path()) + "/slot{%} " +
                            Quoted(testing_support::DistDir() + "/bin/movrex-cli") + " --input " +
                            Quoted(media_) + "/{1}/rip --output " + Quoted(dir_.Path()) +
                            "/{1}/{1}.avi --quality 70 --codec {2}";
    const ProgramRun run =
        Shell("parallel -j 2 --colsep ' ' --joblog " + Quoted(dir_.File("jobs.log")) + " " +
              Quoted(job) + " :::: " + Quoted(list));
    ASSERT_EQ(run.status, 0) << run.output << testing_support::ReadAll(dir_.File("jobs.log"));
    for (const auto& [title, tag] : {std::pair{"film", "XVID"}, {"letterbox", "DX50"}}) {
        SCOPED_TRACE(title);
        const std::string avi = dir_.File(std::string(title) + "/" + title + ".avi");
        EXPECT_EQ(Probe(avi, "stream=codec_tag_string -select_streams v:0"), tag);
        EXPECT_EQ(testing_support::DecodeProblems(avi), "");
    }
    // Each job wrote its codec's settings into its own slot's hive only.
    for (const char* slot : {"slot1", "slot2"}) {
        const std::string hive =
            testing_support::ReadAll(dir_.File(std::string(slot) + "/user.reg"));
        // Key names are not case-sensitive: a new hive spells the root in capitals.
        const bool xvid = hive.find("\\GNU\\XviD]") != std::string::npos;
        const bool divx = hive.find("\\DivXNetworks\\DivX4Windows]") != std::string::npos;
        EXPECT_NE(xvid, divx) << slot << ":\n" << hive;
    }
}

TEST_F(WholeJobs, AnAbortedJobLeavesNoHelperRunningAndNoOutput) {
    const Conversion c = Prepare("aborted");
    const std::string log = dir_.File("aborted.out");
    const std::string command = "exec env " +
                                CliCommand(c, TitleFolder(media_, "hybrid"), {"--size", "3"}) +
                                " >" + Quoted(log) + " 2>&1";
    const char* argv[] = {"/bin/sh", "-c", command.c_str(), nullptr};
    pid_t pid = 0;
    ASSERT_EQ(posix_spawn(&pid, "/bin/sh", nullptr, nullptr, const_cast<char**>(argv), environ), 0);
    // Aborted (as Ctrl+C does) once the job runner writes the second pass.
    const std::string marker = "MOVREX_CONFIG_DIR=" + c.Config;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(2);
    while (testing_support::ReadAll(log).find("Running second pass.") == std::string::npos ||
           !Holds(ProcessesWith(marker), "VirtualDubMod")) {
        ASSERT_LT(std::chrono::steady_clock::now(), deadline) << testing_support::ReadAll(log);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    kill(pid, SIGINT);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << status;
    EXPECT_EQ(ProcessesWith(marker), std::vector<std::string>{});
    EXPECT_NE(c.JobLog().find("EXCEPTION: Job aborted"), std::string::npos) << c.JobLog();
    // Neither the first pass's video-only AVI nor a part of the second's is left.
    std::vector<std::string> left;
    for (const auto& entry : fs::directory_iterator(fs::path(c.Avi).parent_path()))
        left.push_back(entry.path().filename().string());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"aborted_mx.log", "mx_tmp"}));
}

TEST_F(WholeJobs, TwoCdsAreSplitIntoPartsAtKeyFrames) {
    // A job whose encoding passes are skipped (the installation's "no.encode" marker) splits the
    // AVI found under its output name: the large AVI of the split search's tests, made by ffmpeg.
    const auto avis = testing_support::MakeMedia("make_avi_files.sh", "avi");
    if (!avis.SkipReason.empty()) GTEST_SKIP() << avis.SkipReason;
    ASSERT_EQ(avis.Error, "");
    const std::string install = dir_.File("install");
    ASSERT_EQ(
        Shell("cp -rs " + Quoted(testing_support::DistDir() + "/.") + " " + Quoted(install)).status,
        0);
    std::ofstream(install + "/no.encode").close();
    Conversion c = Prepare("split");
    fs::create_symlink(avis.Folder + "/big.avi", c.Avi);
    // Started in the copy itself: the launcher would change to the installation it links to.
    c.Run = Shell("cd " + Quoted(install) + " && " +
                  CliCommand(c, TitleFolder(media_, "film"),
                             {"--overwrite", "--preset", "2 CDs (1400 Mb)"}, "./movrex-cli"));
    ASSERT_EQ(c.Run.status, 0) << c.Run.output;
    const std::string log = c.JobLog();
    EXPECT_EQ(log.find("Running first pass."), std::string::npos);
    const int whole = std::stoi(Probe(c.Avi, "stream=nb_frames -select_streams v:0"));
    int frames = 0, parts = 0;
    for (int n = 1; fs::exists(dir_.File("split/split.cd" + std::to_string(n) + ".avi")); ++n) {
        const std::string part = dir_.File("split/split.cd" + std::to_string(n) + ".avi");
        SCOPED_TRACE(part);
        ++parts;
        EXPECT_NE(log.find("Splitting video into: " + part), std::string::npos);
        EXPECT_LE(fs::file_size(part), uint64_t(700) * 1048576);
        EXPECT_EQ(Probe(part, "stream=codec_name"), "mpeg4|ac3");
        const std::string first =
            Probe(part, "packet=flags -select_streams v:0 -read_intervals %+#1");
        EXPECT_EQ(first.substr(0, 1), "K") << first;
        frames += std::stoi(Probe(part, "stream=nb_frames -select_streams v:0"));
    }
    EXPECT_GE(parts, 2);
    EXPECT_EQ(frames, whole);
}

}  // namespace
