// The installed program as a script would use it: arguments, standard output and error, status.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "app/Messages.h"
#include "dvd/SourceFolder.h"
#include "encoder/DecideLogs.h"
#include "support/FakeInstallation.h"
#include "support/Shell.h"
#include "support/TextTitles.h"

using namespace testing_support;

namespace {

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs the program in `folder` as its working directory, for at most a minute, with the
// environment's `variables` ("NAME=value") set besides.
Outcome RunCli(const std::string& folder, const std::vector<std::string>& args,
               const TempDir& scratch, const std::vector<std::string>& variables = {}) {
    std::string line = "cd " + Quoted(folder) + " && exec env";
    for (const std::string& variable : variables) line += " " + Quoted(variable);
    line += " timeout 60 " + Quoted(MOVREX_CLI_PROGRAM);
    for (const std::string& arg : args) line += " " + Quoted(arg);
    line += " >" + Quoted(scratch.File("out.txt")) + " 2>" + Quoted(scratch.File("err.txt"));
    Outcome outcome;
    const int status = std::system(line.c_str());
    outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    outcome.out = ReadAll(scratch.File("out.txt"));
    outcome.err = ReadAll(scratch.File("err.txt"));
    return outcome;
}

// A title and the files the stand-in job runner hands out (in `runner`), for a size-mode job
// whose output goes to the folder `out`; the job's arguments.
std::vector<std::string> StandInJob(const TempDir& media, const std::string& runner,
                                    const std::string& out) {
    const std::string title = MakeTextTitle(media, "dvd", TwoTrackTitle());
    media.Write("dvd/VTS_01_1.VOB", "");
    media.Write(out + "/.keep", "");
    media.Write(runner + "/interlace1.log", LogText(Marks(CombedShare(0))));
    media.Write(runner + "/comptest.frames", FramesLog(std::vector<int64_t>(30, 4352)));
    media.Write(runner + "/pass.frames", FramesLog(std::vector<int64_t>(10, 60000000)));
    media.Write(runner + "/out.avi", TinyAvi(640, 272));
    return {"--input", title, "--output", media.File(out + "/movie.avi"), "--size", "700"};
}

// The command lines put the program folder unquoted: an installation in a folder with blanks is
// run from a link to it without them.
TEST(CliProgramInstallation, AFolderWithBlanksRunsItsTools) {
    FakeInstallation install("My Movrex 1.25");
    TempDir media, scratch;
    const std::vector<std::string> job = StandInJob(media, "runner", "out");
    ScopedEnv runner("DECIDE_FAKE_DIR", media.File("runner"));
    const Outcome outcome = RunCli(install.ProgramDir(), job, scratch);
    EXPECT_EQ(outcome.status, 0) << outcome.out << outcome.err;
    EXPECT_EQ(ReadAll(media.File("out/movie.avi")), TinyAvi(640, 272));
}

class CliProgramTest : public testing::Test {
  protected:
    Outcome Run(const std::vector<std::string>& args) {
        return RunCli(install_.ProgramDir(), args, scratch_);
    }
    FakeInstallation install_;
    TempDir media_;
    TempDir scratch_;
};

TEST_F(CliProgramTest, HelpAndCommandLineErrors) {
    const Outcome help = Run({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("--list-tracks DIR"), std::string::npos);
    const Outcome wrong = Run({"--size", "5"});
    EXPECT_EQ(wrong.status, 2);
    EXPECT_EQ(wrong.err,
              "movrex-cli: nothing to do: give --input DIR --output FILE\n"
              "Try movrex-cli --help.\n");
}

TEST_F(CliProgramTest, ListingAndARefusedFolder) {
    const std::string title = MakeTextTitle(media_, "dvd", TwoTrackTitle());
    const Outcome listing = Run({"--list-tracks", title});
    EXPECT_EQ(listing.status, 0);
    EXPECT_EQ(listing.out,
              "Video info:   PAL - 720x576 - 16:9 Anamorphic - 25fps\n"
              "audio 1: English AC3 6ch\naudio 2: Deutsch DTS 6ch\naudio 3: No Audio Track\n"
              "subtitle 1: English\nsubtitle 2: Deutsch\nsubtitle 3: No Subtitles\n");
    EXPECT_EQ(listing.err, "");
    const Outcome refused = Run({"--list-tracks", media_.File("dvd [1]")});
    EXPECT_NE(refused.status, 0);
    EXPECT_EQ(refused.err, std::string(kInvalidInputPathMessage) + "\n");
    EXPECT_EQ(refused.out, "");
}

TEST_F(CliProgramTest, StartUpCheckFailsWithItsMessage) {
    install_.Remove("DVD2AVI/DVD2AVIdg.exe");
    const std::string title = MakeTextTitle(media_, "dvd", TwoTrackTitle());
    const Outcome outcome = Run({"--input", title, "--output", media_.File("movie.avi")});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.err,
              install_.ProgramDir() + "/DVD2AVI/DVD2AVIdg.exe" + kToolMissingSuffix + "\n");
}

// A job through the real run: the log lines on standard output and in the job log beside the
// output, and a status that says whether the job ended in an error.
TEST_F(CliProgramTest, AJobRunsThroughTheQueue) {
    const std::string title = MakeTextTitle(media_, "dvd", TwoTrackTitle());
    media_.Write("out/.keep", "");
    const Outcome outcome =
        Run({"--input", title, "--output", media_.File("out/movie"), "--size", "700"});
    EXPECT_EQ(outcome.err, "");
    EXPECT_NE(outcome.out.find("] Movrex 1.25\n"), std::string::npos) << outcome.out;
    EXPECT_NE(outcome.out.find("] Job started.\n"), std::string::npos);
    EXPECT_NE(outcome.out.find("] Job finished.\n"), std::string::npos);
    const bool failed = outcome.out.find("\nEXCEPTION: ") != std::string::npos;
    EXPECT_EQ(outcome.status, failed ? 1 : 0) << outcome.out;
    const std::string jobLog = ReadAll(media_.File("out/movie_mx.log"));
    EXPECT_NE(jobLog.find("Job finished."), std::string::npos);
    EXPECT_TRUE(std::filesystem::is_directory(media_.File("out/mx_tmp")));
}

// The whole job with the installation's stand-in tools: the indexer, the audio encoder and the
// job runner leave what the real ones would, so the job ends without an error and with its file.
TEST_F(CliProgramTest, AJobWithTheStandInToolsLeavesItsOutput) {
    const std::string title = MakeTextTitle(media_, "dvd", TwoTrackTitle());
    media_.Write("dvd/VTS_01_1.VOB", "");
    media_.Write("out/.keep", "");
    media_.Write("runner/interlace1.log", LogText(Marks(CombedShare(0))));
    media_.Write("runner/comptest.frames", FramesLog(std::vector<int64_t>(30, 4352)));
    media_.Write("runner/pass.frames", FramesLog(std::vector<int64_t>(10, 60000000)));
    media_.Write("runner/out.avi", TinyAvi(640, 272));
    ScopedEnv runner("DECIDE_FAKE_DIR", media_.File("runner"));
    const Outcome outcome =
        Run({"--input", title, "--output", media_.File("out/movie.avi"), "--size", "700"});
    EXPECT_EQ(outcome.status, 0) << outcome.out << outcome.err;
    EXPECT_EQ(outcome.err, "");
    EXPECT_EQ(outcome.out.find("EXCEPTION: "), std::string::npos) << outcome.out;
    EXPECT_NE(outcome.out.find("] Running second pass.\n"), std::string::npos) << outcome.out;
    EXPECT_NE(outcome.out.find("] Job finished.\n"), std::string::npos);
    EXPECT_EQ(ReadAll(media_.File("out/movie.avi")), TinyAvi(640, 272));
    // The job script carries the state of the installation's codec.
    EXPECT_NE(ReadAll(media_.File("out/mx_tmp/lastjob.vcf")).find("SetCompData(3,\"B4oN\");"),
              std::string::npos);
}

// Copies of the program with configuration and runtime folders of their own run at once, each
// with its own codec settings; one output folder each.
TEST_F(CliProgramTest, TwoJobsAtOnceInFoldersOfTheirOwn) {
    const char* codecs[] = {"xvid", "divx"};
    Outcome outcomes[2];
    TempDir scratch[2];
    std::vector<std::thread> copies;
    for (int i = 0; i < 2; ++i) {
        const std::string n = std::to_string(i);
        std::vector<std::string> job = StandInJob(media_, "runner" + n, "out" + n);
        job.insert(job.end(), {"--codec", codecs[i]});
        media_.Write("run" + n + "/.keep", "");
        const std::vector<std::string> variables = {
            "MOVREX_CONFIG_DIR=" + media_.File("config" + n),
            "XDG_RUNTIME_DIR=" + media_.File("run" + n),
            "DECIDE_FAKE_DIR=" + media_.File("runner" + n)};
        copies.emplace_back([&, i, job, variables] {
            outcomes[i] = RunCli(install_.ProgramDir(), job, scratch[i], variables);
        });
    }
    for (std::thread& copy : copies) copy.join();
    for (int i = 0; i < 2; ++i) {
        const std::string n = std::to_string(i);
        EXPECT_EQ(outcomes[i].status, 0) << outcomes[i].out << outcomes[i].err;
        EXPECT_EQ(ReadAll(media_.File("out" + n + "/movie.avi")), TinyAvi(640, 272));
        const std::string hive = ReadAll(media_.File("config" + n + "/user.reg"));
        EXPECT_EQ(hive.find("GNU\\XviD") != std::string::npos, i == 0) << hive;
        EXPECT_EQ(hive.find("DivX4Windows") != std::string::npos, i == 1) << hive;
    }
}

}  // namespace
