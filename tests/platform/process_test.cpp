#include "platform/process.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "support/TestEnv.h"

namespace {

using platform::Process;
using platform::QuoteArgument;
using platform::SplitCommandLine;
using testing_support::ScopedEnv;
using testing_support::TempDir;
using Args = std::vector<std::string>;

std::string Helper(const std::string& name) {
    return std::string(MOVREX_TEST_HELPER_DIR) + "/" + name;
}

std::string HelperLine(const std::string& name, const std::string& args) {
    return QuoteArgument(Helper(name)) + " " + args;
}

std::string MakeProgram(const TempDir& dir, const std::string& name, const std::string& text,
                        mode_t mode = 0755) {
    std::string path = dir.Write(name, text);
    chmod(path.c_str(), mode);
    return path;
}

// Fields of /proc/<pid>/stat from the state on (field 3 of proc(5) is index 0); empty when the
// process is gone.
Args StatFields(platform::ProcessId pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string text;
    if (!std::getline(in, text)) return {};
    std::istringstream rest(text.substr(text.rfind(')') + 1));
    Args fields;
    for (std::string field; rest >> field;) fields.push_back(field);
    return fields;
}

bool Ended(platform::ProcessId pid) {
    Args fields = StatFields(pid);
    return fields.empty() || fields[0] == "Z";
}

// Polls for up to ten seconds; the children under test end within milliseconds when correct.
template <typename Condition>
bool Eventually(Condition condition) {
    for (int i = 0; i < 1000; ++i) {
        if (condition()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return condition();
}

platform::ProcessId ReadPid(const std::string& path) {
    platform::ProcessId pid = 0;
    std::ifstream(path) >> pid;
    return pid;
}

bool NoZombieChild() {
    int status = 0;
    return waitpid(-1, &status, WNOHANG) <= 0;
}

TEST(SplitCommandLine, FollowsTheWindowsRules) {
    const struct {
        std::string line;
        Args args;
    } cases[] = {
        {"", {}},
        {" \t ", {}},
        {"prog", {"prog"}},
        {"  prog  a\tb  ", {"prog", "a", "b"}},
        {R"("C:\dir\" x)", {R"(C:\dir\)", "x"}},  // no backslash rules in the program name
        {R"("/my tools/prog" a)", {"/my tools/prog", "a"}},
        {R"(pr"o g"x a)", {"pro gx", "a"}},
        {R"(p a\\b c\)", {"p", R"(a\\b)", R"(c\)"}},  // literal where no quote follows
        {R"(p a\\"b c" d)", {"p", R"(a\b c)", "d"}},  // 2n: n, and the quote toggles
        {R"(p a\"b)", {"p", R"(a"b)"}},               // 2n+1: n and a literal quote
        {R"(p a\\\"b)", {"p", R"(a\"b)"}},
        {R"(p "a\\")", {"p", R"(a\)"}},
        {R"(p "a""b c" d)", {"p", R"(a"b c)", "d"}},  // "" within quotes
        {R"(p """")", {"p", "\""}},
        {R"(p "" x)", {"p", "", "x"}},
        {R"(p a"b c"d)", {"p", "ab cd"}},
        {R"(p "runs to  the end)", {"p", "runs to  the end"}},
        {"p -AIF=[/my dvd/VTS_01_1.VOB]", {"p", "-AIF=[/my", "dvd/VTS_01_1.VOB]"}},
        {R"(p -core( -input "/a b/x.ac3" -output "/a b/x.mp3" ))",
         {"p", "-core(", "-input", "/a b/x.ac3", "-output", "/a b/x.mp3", ")"}},
    };
    for (const auto& c : cases) EXPECT_EQ(SplitCommandLine(c.line), c.args) << c.line;
}

TEST(QuoteArgument, RoundTripsAwkwardArguments) {
    const Args awkward = {"",
                          "plain",
                          "a b",
                          "\t",
                          "a\"b",
                          "\"",
                          "\"\"",
                          R"(a\)",
                          R"(a\\)",
                          R"(a b\)",
                          R"(\")",
                          R"(a\\"b)",
                          R"(C:\My DVD\)",
                          "-AIF=[/my dvd/VTS_01_1.VOB]",
                          "-core(",
                          "x\ny",
                          "ünïcödé ✓"};
    std::string all = "prog";
    for (const std::string& arg : awkward) {
        all += " " + QuoteArgument(arg);
        EXPECT_EQ(SplitCommandLine("prog " + QuoteArgument(arg)), Args({"prog", arg})) << arg;
    }
    Args expected = {"prog"};
    expected.insert(expected.end(), awkward.begin(), awkward.end());
    EXPECT_EQ(SplitCommandLine(all), expected) << all;
    // Arguments that need nothing are left as they are.
    EXPECT_EQ(QuoteArgument(R"(C:\dir\file)"), R"(C:\dir\file)");
    EXPECT_EQ(QuoteArgument("a b"), "\"a b\"");
}

TEST(CommandLine, TakesTheInheritedLineOnlyWhenItIsThisProcesssOwn) {
    Args own = SplitCommandLine(platform::CommandLine());
    ASSERT_FALSE(own.empty());
    {
        ScopedEnv stale("MOVREX_COMMAND_LINE", "other -AIF=[/my dvd/x.VOB]");
        EXPECT_EQ(SplitCommandLine(platform::CommandLine()), own);
    }
    std::string spaced = "\"some name\"";  // blanks that argv cannot show are kept
    for (size_t i = 1; i < own.size(); ++i) spaced += "   " + QuoteArgument(own[i]);
    ScopedEnv mine("MOVREX_COMMAND_LINE", spaced);
    EXPECT_EQ(platform::CommandLine(), spaced);
}

TEST(ResolveProgram, LooksInTheSystemFolderThenInPath) {
    TempDir sys, bin;
    std::string tool = MakeProgram(sys, "tool.exe", "");
    std::string sysBoth = MakeProgram(sys, "both", "", 0644);
    MakeProgram(bin, "both", "");
    std::string onlyPath = MakeProgram(bin, "onlypath", "");
    MakeProgram(bin, "noexec", "", 0644);
    std::filesystem::create_directory(bin.File("folder"));
    ScopedEnv system("MOVREX_SYSTEM_DIR", sys.Path());
    ScopedEnv path("PATH", "/nonexistent::" + bin.Path());
    EXPECT_EQ(platform::ResolveProgram("tool"), tool);
    EXPECT_EQ(platform::ResolveProgram("tool.exe"), tool);
    EXPECT_EQ(platform::ResolveProgram("both"), sysBoth);
    EXPECT_EQ(platform::ResolveProgram("onlypath"), onlyPath);
    EXPECT_EQ(platform::ResolveProgram("noexec"), "");
    EXPECT_EQ(platform::ResolveProgram("folder"), "");
    EXPECT_EQ(platform::ResolveProgram("missing"), "");
    EXPECT_EQ(platform::ResolveProgram(""), "");
    EXPECT_EQ(platform::ResolveProgram("rel/missing"), "rel/missing");
    EXPECT_EQ(platform::ResolveProgram(sys.File("tool")), tool);
    EXPECT_EQ(platform::ResolveProgram(onlyPath), onlyPath);
}

TEST(Process, ChildGetsItsArgumentsShowStateAndWholeLineButNoStrayDescriptor) {
    TempDir dir;
    std::filesystem::create_directory(dir.File("my tools"));
    std::filesystem::copy_file(Helper("proc_echo"), dir.File("my tools/proc_echo.exe"));
    ScopedEnv out("PROC_ECHO_OUT", dir.File("echo.out"));
    int stray = open(dir.File("echo.out").c_str(), O_WRONLY | O_CREAT, 0644);  // inheritable
    ASSERT_GE(stray, 3);
    std::string line = "\"" + dir.File("my tools/proc_echo") +
                       "\"  -AIF=[/my  dvd/VTS_01_1.VOB] -core( -input \"/a b/x.ac3\" )";
    Process child;
    std::string error;
    ASSERT_TRUE(child.Start(line, {platform::ShowState::MinimizedNoActivate}, &error)) << error;
    EXPECT_EQ(child.Wait(), 0);
    close(stray);
    std::string text = testing_support::ReadAll(dir.File("echo.out"));
    Args fields;
    for (size_t start = 0, end; (end = text.find('\0', start)) != std::string::npos;
         start = end + 1)
        fields.push_back(text.substr(start, end - start));
    EXPECT_EQ(fields, Args({line, "7", "", "", "-AIF=[/my", "dvd/VTS_01_1.VOB]", "-core(", "-input",
                            "/a b/x.ac3", ")"}));
}

TEST(Process, MissingOrUnrunnableProgramFailsCleanly) {
    TempDir dir;
    std::string noexec = MakeProgram(dir, "noexec", "#!/bin/sh\n", 0644);
    std::string garbage = MakeProgram(dir, "garbage", std::string(64, '\x01'));
    ScopedEnv system("MOVREX_SYSTEM_DIR", dir.Path());
    const struct {
        std::string line;
        std::string error;
    } cases[] = {
        {"", "empty command line"},
        {" \t", "empty command line"},
        {"no_such_program_x a b", "no_such_program_x: not found"},
        {dir.File("none/x") + " a", dir.File("none/x") + ": not found"},
        {"noexec", noexec + ": cannot be executed: Permission denied"},
        {"\"" + garbage + "\" a", garbage + ": cannot be executed: Exec format error"},
        {std::string("noexec\0x", 8), "command line holds a NUL character"},
    };
    for (const auto& c : cases) {
        Process child;
        std::string error;
        EXPECT_FALSE(child.Start(c.line, {}, &error)) << c.line;
        EXPECT_EQ(error, c.error);
        EXPECT_EQ(child.Id(), 0);
        EXPECT_FALSE(child.Running());
        EXPECT_TRUE(NoZombieChild()) << c.line;
    }
}

TEST(Process, IdlePriorityIsReallyApplied) {
    Process idle, normal;
    ASSERT_TRUE(
        idle.Start(HelperLine("proc_sleeper", "20000"), {{}, platform::PriorityClass::Idle}));
    ASSERT_TRUE(normal.Start(HelperLine("proc_sleeper", "20000"), {}));
    Args idleStat = StatFields(idle.Id()), normalStat = StatFields(normal.Id());
    ASSERT_GT(idleStat.size(), 38u);
    ASSERT_GT(normalStat.size(), 38u);
    EXPECT_EQ(idleStat[2], std::to_string(idle.Id()));  // leads its own group
    EXPECT_EQ(idleStat[16], "19");                      // nice
    EXPECT_EQ(idleStat[38], std::to_string(SCHED_IDLE));
    EXPECT_EQ(normalStat[16], std::to_string(getpriority(PRIO_PROCESS, 0)));
    EXPECT_EQ(normalStat[38], std::to_string(SCHED_OTHER));
    idle.Terminate();
    normal.Terminate();
    EXPECT_EQ(idle.Wait(), 128 + SIGKILL);
    EXPECT_EQ(normal.Wait(), 128 + SIGKILL);
}

TEST(Process, TerminateFromAnotherThreadEndsTheTreeWhileWaitBlocks) {
    TempDir dir;
    std::string pidFile = dir.File("grandchild.pid");
    Process child;
    ASSERT_TRUE(child.Start(
        HelperLine("proc_sleeper", "60000 --child 60000 --pidfile " + QuoteArgument(pidFile)),
        {{}, platform::PriorityClass::Idle}));
    ASSERT_TRUE(Eventually([&] { return std::filesystem::exists(pidFile); }));
    platform::ProcessId grandchild = ReadPid(pidFile);
    ASSERT_GT(grandchild, 0);
    EXPECT_FALSE(Ended(grandchild));
    // An id that is not a child of ours is left alone, whatever group it is in.
    EXPECT_FALSE(platform::TerminateProcessTree(grandchild));
    EXPECT_FALSE(platform::TerminateProcessTree(0));
    EXPECT_FALSE(Ended(grandchild));

    platform::ProcessId pid = child.Id();
    std::thread aborter([pid] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        EXPECT_TRUE(platform::TerminateProcessTree(pid));
    });
    EXPECT_EQ(child.Wait(), 128 + SIGKILL);
    aborter.join();
    EXPECT_TRUE(Eventually([&] { return Ended(grandchild); }));
    // The killed grandchild may still be an unreaped member of the group; asking again is
    // harmless either way.
    platform::TerminateProcessTree(pid);
}

TEST(Process, WithinAStartedTreeChildrenJoinItsGroupUnlessTheyAskForTheirOwn) {
    ScopedEnv inTree("MOVREX_PROCESS_GROUP", std::to_string(getpgrp()));
    Process joined, own;
    ASSERT_TRUE(joined.Start(HelperLine("proc_sleeper", "60000"), {}));
    platform::StartOptions ownTree;
    ownTree.ownTree = true;
    ASSERT_TRUE(own.Start(HelperLine("proc_sleeper", "60000"), ownTree));
    EXPECT_EQ(StatFields(joined.Id()).at(2), std::to_string(getpgrp()));
    EXPECT_EQ(StatFields(own.Id()).at(2), std::to_string(own.Id()));
    // Ending a child that shares our group ends that child alone.
    joined.Terminate();
    own.Terminate();
    EXPECT_EQ(joined.Wait(), 128 + SIGKILL);
    EXPECT_EQ(own.Wait(), 128 + SIGKILL);
}

TEST(Process, WaitsReportExitCodesAndTimeouts) {
    Process quick;
    ASSERT_TRUE(quick.Start(HelperLine("proc_sleeper", "0 --exit 3"), {}));
    EXPECT_EQ(quick.Wait(), 3);
    EXPECT_EQ(quick.Wait(), 3);
    EXPECT_FALSE(quick.Running());

    Process slow;
    ASSERT_TRUE(slow.Start(HelperLine("proc_sleeper", "60000"), {}));
    EXPECT_TRUE(slow.Running());
    EXPECT_EQ(slow.WaitFor(0), std::nullopt);
    EXPECT_EQ(slow.WaitFor(30), std::nullopt);
    slow.Terminate();
    EXPECT_EQ(slow.WaitFor(10000), 128 + SIGKILL);
    EXPECT_FALSE(slow.Running());
    // Ended and reaped, with no group left: nothing to signal.
    EXPECT_FALSE(platform::TerminateProcessTree(slow.Id()));
    slow.Terminate();

    Process none;
    EXPECT_EQ(none.Wait(), -1);
    EXPECT_FALSE(none.Running());
}

TEST(Process, ChildOutlivingItsProcessObjectIsStillReaped) {
    platform::ProcessId pid = 0;
    {
        Process child;
        ASSERT_TRUE(child.Start(HelperLine("proc_sleeper", "100"), {}));
        pid = child.Id();
    }
    EXPECT_TRUE(Eventually([&] { return StatFields(pid).empty(); })) << "left a zombie";
}

}  // namespace
